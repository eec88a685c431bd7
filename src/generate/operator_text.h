#pragma once

#include <QString>

// The PHP comparison of an operator code of the range and length rules; a
// code names the comparison under which the check fails, 6 none.
QString operator_text(qint32 code);
