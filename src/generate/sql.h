#pragma once

#include <QString>

#include <memory>

class CForm;

// Writes the body of setup.php, which creates the table of the MySQL action.
class sql final
{
public:
    std::shared_ptr<CForm> form;
    QString primary_key;
    QString mysql_table;

    QString get_sql_code() const;
};
