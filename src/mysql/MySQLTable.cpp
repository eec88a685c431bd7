#include "MySQLTable.h"

#include "MYSQL_CONNECTION.h"
#include "MYSQL_RS.h"
#include "MySQL_Field.h"
#include "sql_text.h"

#include "model/globals.h"

const std::shared_ptr<StringCollection> &MySQLTable::field_names()
{
    if (!m_field_names)
        m_field_names = std::make_shared<StringCollection>();
    return m_field_names;
}

const std::shared_ptr<StringCollection> &MySQLTable::field_types()
{
    if (!m_field_types)
        m_field_types = std::make_shared<StringCollection>();
    return m_field_types;
}

void MySQLTable::read_flds()
{
    const auto &names = field_names();
    const auto &types = field_types();
    names->Clear();
    types->Clear();
    const auto connection = globals::mysql_conn;
    if (!connection)
        return;
    const auto columns = connection->Execute(QStringLiteral("show columns from ") + sql_text::identifier(m_table_name));
    while (!columns->EOF_()) {
        const QString name = columns->fields(0)->Value().toString();
        names->Add(name);
        const QString type = field_data_type(columns->fields(1)->Value().toString());
        if (!types->Contains(name))
            types->Add(type, name);
        columns->MoveNext();
    }
    columns->CloseRecordset();
}

QString MySQLTable::field_data_type(const QString &type)
{
    // Longer names come before the shorter ones they contain.
    static const char *const keywords[] = {
        "tinyint",
        "smallint",
        "mediumint",
        "bigint",
        "int",
        "float",
        "double",
        "decimal",
        "datetime",
        "date",
        "timestamp",
        "time",
        "year",
        "varchar",
        "char",
        "mediumblob",
        "mediumtext",
        "longblob",
        "longtext",
        "tinyblob",
        "tinytext",
        "text",
        "blob",
        "real",
        "numeric",
        "enum",
        "set",
    };
    for (const char *keyword : keywords) {
        if (type.contains(QLatin1String(keyword), Qt::CaseSensitive))
            return QString::fromLatin1(keyword);
    }
    return QString();
}
