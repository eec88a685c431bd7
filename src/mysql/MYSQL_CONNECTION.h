#pragma once

#include "MYSQL_ERR.h"

#include <QList>
#include <QPair>
#include <QString>

#include <memory>

class MYSQL_RS;
struct st_mysql;

// One connection to a MySQL server over the client library. Nothing here
// raises: operations return a state, a flag or a value, and Error() tells
// what went wrong. Result sets keep their connection alive, so a connection
// is always held by a std::shared_ptr (std::make_shared).
class MYSQL_CONNECTION final : public std::enable_shared_from_this<MYSQL_CONNECTION>
{
public:
    // Client option numbers understood by SetOption (the client library's own).
    enum Option : qint32 {
        ConnectTimeout = 0, // seconds
        Compress = 1,
        NamedPipe = 2,
        InitCommand = 3,
        ReadDefaultFile = 4,
        ReadDefaultGroup = 5,
        ReadTimeout = 11, // seconds
        WriteTimeout = 12, // seconds
    };
    enum { Open = 0, Closed = 1 };
    // The error of a port outside 0-65535.
    static constexpr qint32 kBadPort = -2;
    static const QString kBadPortText;

    MYSQL_CONNECTION();
    ~MYSQL_CONNECTION();
    MYSQL_CONNECTION(const MYSQL_CONNECTION &) = delete;
    MYSQL_CONNECTION &operator=(const MYSQL_CONNECTION &) = delete;

    // When true, result sets of this connection write a pending edit when
    // they move or close; otherwise they drop it.
    bool AutoUpdate() const { return m_auto_update; }
    void set_AutoUpdate(bool value) { m_auto_update = value; }
    // The last statement given to Execute, as given.
    const QString &QueryString() const { return m_query; }
    const std::shared_ptr<MYSQL_ERR> &Error() const { return m_error; }
    qint32 State() const { return m_state; }
    // Whether the last error says that the connection to the server is gone:
    // the server went away, hung up or is shutting down.
    bool ConnectionLost() const;
    const QString &dbname() const { return m_dbname; }
    const QString &password() const { return m_password; }
    const QString &username() const { return m_username; }
    const QString &Hostname() const { return m_hostname; }

    // Options are kept and applied, in the order added, on every open.
    void SetOption(qint32 option, const QString &value);
    void ClearOptions() { m_options.clear(); }

    // Opens the connection (closing an open one first) with the utf8mb4
    // character set; port 0 is the library's default port. A port outside
    // 0-65535 is refused (Error -2) without trying the server. Returns State().
    qint32 OpenConnection(const QString &host, const QString &user, const QString &password,
        const QString &database = QString(), qint32 port = 0, qint32 flags = 0);
    void CloseConnection();
    void Ping();
    bool SelectDb(const QString &name);

    // Runs one statement. The result set is always new; it is closed when the
    // statement returned no rows, failed, or was not sent (closed connection,
    // blank text). `affected` receives the affected row count when the
    // statement was sent, and keeps its value otherwise.
    std::shared_ptr<MYSQL_RS> Execute(const QString &statement, qint32 &affected);
    std::shared_ptr<MYSQL_RS> Execute(const QString &statement);

    QString QueryInfo() const;
    // FLUSH of 0 all, 1 HOSTS, 2 LOGS, 3 PRIVILEGES, 4 STATUS, 5 TABLES;
    // another number sends nothing.
    void Flush(qint32 target);
    qint32 LastInsertID() const;

private:
    friend class MYSQL_RS;
    friend class MySQL_Field;

    void run_query(MYSQL_RS &result_set, QString &statement, qint32 &affected);
    // Runs a statement of the library's own; QueryString and Error keep
    // describing the caller's last statement.
    std::shared_ptr<MYSQL_RS> execute_quietly(const QString &statement);
    static QString ptr_to_string(const char *pointer);

    void copy_error();
    void close_handle();

    QString m_hostname;
    QString m_username;
    QString m_password;
    QString m_dbname;
    qint32 m_port = 0;
    qint32 m_client_flags = 0;
    st_mysql *m_handle = nullptr;
    qint32 m_state = Closed;
    QString m_query;
    bool m_auto_update = false;
    QList<QPair<qint32, QString>> m_options;
    std::shared_ptr<MYSQL_ERR> m_error;
};
