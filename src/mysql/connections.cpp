#include "connections.h"

#include "MYSQL_CONNECTION.h"
#include "MYSQL_RS.h"
#include "MySQL_Field.h"

#include "model/globals.h"

#include <QFile>

bool connections::Connect()
{
    const auto connection = new_connection();
    return connection && open(*connection);
}

bool connections::port_number(quint16 &port) const
{
    const QString text = m_port.trimmed();
    bool ok = true;
    const uint number = text.isEmpty() ? 0 : text.toUInt(&ok);
    port = static_cast<quint16>(number);
    return ok && number <= 65535;
}

std::shared_ptr<MYSQL_CONNECTION> connections::new_connection() const
{
    auto connection = std::make_shared<MYSQL_CONNECTION>();
    globals::mysql_conn = connection;
    quint16 port = 0;
    if (!port_number(port)) {
        connection->Error()->SetError(MYSQL_CONNECTION::kBadPort, MYSQL_CONNECTION::kBadPortText);
        return nullptr;
    }
    connection->SetOption(MYSQL_CONNECTION::ConnectTimeout, QString::number(connect_timeout));
    connection->SetOption(MYSQL_CONNECTION::ReadTimeout, QString::number(reply_timeout));
    connection->SetOption(MYSQL_CONNECTION::WriteTimeout, QString::number(reply_timeout));
    return connection;
}

bool connections::open(MYSQL_CONNECTION &connection) const
{
    quint16 port = 0;
    port_number(port);
    connection.OpenConnection(m_host, m_user, m_password, QString(), port, 0);
    return connection.Error()->Number() == 0;
}

QStringList connections::GetDatabases()
{
    m_database_count = 0;
    const auto connection = globals::mysql_conn;
    if (!connection)
        return { QString() };
    const auto databases = connection->Execute(QStringLiteral("SHOW DATABASES;"));
    m_database_count = databases->RecordCount();
    QStringList names;
    names.reserve(m_database_count + 1);
    for (databases->MoveFirst(); !databases->EOF_(); databases->MoveNext())
        names << databases->fields(0)->Value().toString();
    // One entry more than there are databases, as callers count on.
    while (names.size() < m_database_count + 1)
        names << QString();
    return names;
}

bool connections::Save(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::Append))
        return false;
    const QString line = QStringLiteral("Mysql connection =") + m_host + QLatin1Char(';') + m_user + QLatin1Char(';')
        + m_password + QLatin1Char(':') + m_port + QStringLiteral("\r\n");
    return file.write(line.toUtf8()) >= 0;
}

void connections::disconnect()
{
    if (globals::mysql_conn)
        globals::mysql_conn->CloseConnection();
    globals::mysql_conn.reset();
}
