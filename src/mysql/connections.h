#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class MYSQL_CONNECTION;

// The wizard's MySQL connection profile. Connect opens the one shared
// connection, globals::mysql_conn, on which the databases, tables and
// columns are listed.
class connections final
{
public:
    // Seconds to wait for a server that does not answer, and for any later
    // reply, so the wizard never hangs on an unreachable server.
    static constexpr int connect_timeout = 10;
    static constexpr int reply_timeout = 30;

    const QString &user() const { return m_user; }
    void set_user(const QString &user) { m_user = user; }
    const QString &password() const { return m_password; }
    void set_password(const QString &password) { m_password = password; }
    const QString &host() const { return m_host; }
    void set_host(const QString &host) { m_host = host; }
    const QString &port() const { return m_port; }
    void set_port(const QString &port) { m_port = port; }
    qint32 database_count() const { return m_database_count; }
    void set_database_count(qint32 count) { m_database_count = count; }

    // Replaces the shared connection by a new one opened with this profile
    // and no database; true when it is open. A port that is not a number from
    // 0 to 65535 (blank means the default) is refused with a message in the
    // connection's Error, without trying the server.
    bool Connect();
    // Connect in two steps, for a caller that waits elsewhere than on its own
    // thread. new_connection replaces the shared connection by a new, closed
    // one; it is null when the port is refused (the reason is in the
    // shared connection's Error). open opens it with this profile: it blocks
    // up to the connect time-out and touches nothing shared, so it may run
    // on a thread of its own. True when the connection is open.
    std::shared_ptr<MYSQL_CONNECTION> new_connection() const;
    bool open(MYSQL_CONNECTION &connection) const;
    // The server's databases in its order, followed by one empty entry;
    // database_count is their number.
    QStringList GetDatabases();
    // Appends the profile as one line to a file; false when it cannot be written.
    bool Save(const QString &path) const;
    // Closes and drops the shared connection.
    void disconnect();

private:
    // The port as a number, 0 for blank; false unless 0 to 65535.
    bool port_number(quint16 &port) const;

    QString m_user;
    QString m_password;
    QString m_host;
    QString m_port = QStringLiteral("3306");
    qint32 m_database_count = 0;
};
