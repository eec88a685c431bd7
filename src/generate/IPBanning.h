#pragma once

#include <QString>

// The check that refuses visitors listed in blockedIPs.txt beside the script.
class IPBanning final
{
public:
    QString get_php_code() const;
};
