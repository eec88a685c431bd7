#pragma once

#include <QString>
#include <QVariant>

// One pending value of a result-set row: the column, the value, and whether
// it has been written to the server.
class MYSQL_UPDATE_FIELD final
{
public:
    QString name;
    QVariant Value;
    bool Updated = false;
};
