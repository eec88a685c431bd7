#include "MYSQL_CONNECTION.h"

#include "MariaDbClient.h"
#include "MYSQL_RS.h"

#include "model/globals.h"

#include <QByteArray>

#include <errmsg.h>
#include <mysqld_error.h>

const QString MYSQL_CONNECTION::kBadPortText = QStringLiteral("The port must be a number from 0 to 65535.");

MYSQL_CONNECTION::MYSQL_CONNECTION()
    : m_error(std::make_shared<MYSQL_ERR>())
{
    ClearOptions();
}

MYSQL_CONNECTION::~MYSQL_CONNECTION()
{
    CloseConnection();
}

bool MYSQL_CONNECTION::ConnectionLost() const
{
    switch (m_error->Number()) {
    case CR_SERVER_GONE_ERROR:
    case CR_SERVER_LOST:
    case CR_SERVER_LOST_EXTENDED:
    case ER_SERVER_SHUTDOWN:
    case ER_CONNECTION_KILLED:
        return true;
    default:
        return false;
    }
}

void MYSQL_CONNECTION::SetOption(qint32 option, const QString &value)
{
    m_options.append({ option, value });
}

qint32 MYSQL_CONNECTION::OpenConnection(const QString &host, const QString &user, const QString &password,
    const QString &database, qint32 port, qint32 flags)
{
    Q_UNUSED(flags);
    m_error->Clear();
    CloseConnection();
    m_hostname = host;
    m_username = user;
    m_password = password;
    m_dbname = database;
    m_port = port;
    // The library would take the port modulo 65536 and reach another one.
    if (port < 0 || port > 65535) {
        m_error->SetError(kBadPort, kBadPortText);
        return m_state;
    }

    QString unavailable;
    const MariaDbClient *client = MariaDbClient::load(&unavailable);
    if (!client) {
        m_error->SetError(-1, unavailable);
        return m_state;
    }
    m_handle = client->mysql_init(nullptr);
    if (!m_handle) {
        m_error->SetError(-1, QStringLiteral("Couldn't obtain a connection handler."));
        return m_state;
    }
    // Texts go to the server and come back as UTF-8.
    mariadb().mysql_options(m_handle, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    for (const auto &[option, value] : std::as_const(m_options)) {
        switch (option) {
        case ConnectTimeout:
        case ReadTimeout:
        case WriteTimeout: {
            const unsigned int seconds = value.trimmed().toUInt();
            mariadb().mysql_options(m_handle, static_cast<mysql_option>(option), &seconds);
            break;
        }
        case Compress:
        case NamedPipe:
            mariadb().mysql_options(m_handle, static_cast<mysql_option>(option), "0");
            break;
        case InitCommand:
        case ReadDefaultFile:
        case ReadDefaultGroup: {
            const QByteArray text = value.toUtf8();
            mariadb().mysql_options(m_handle, static_cast<mysql_option>(option), text.constData());
            break;
        }
        default:
            break;
        }
    }

    const QByteArray host_text = m_hostname.toUtf8();
    const QByteArray user_text = m_username.toUtf8();
    const QByteArray password_text = m_password.toUtf8();
    const QByteArray database_text = m_dbname.toUtf8();
    // No socket name: the library then takes the one of an option file, or
    // its default, for "localhost".
    if (!mariadb().mysql_real_connect(m_handle, host_text.constData(), user_text.constData(), password_text.constData(),
            database_text.constData(), static_cast<unsigned int>(m_port), nullptr,
            static_cast<unsigned long>(m_client_flags))) {
        copy_error();
        close_handle();
    } else {
        m_state = Open;
    }
    return m_state;
}

void MYSQL_CONNECTION::CloseConnection()
{
    if (m_state == Open)
        close_handle();
}

void MYSQL_CONNECTION::close_handle()
{
    mariadb().mysql_close(m_handle);
    m_handle = nullptr;
    m_query.clear();
    m_state = Closed;
}

void MYSQL_CONNECTION::Ping()
{
    if (m_state == Open)
        mariadb().mysql_ping(m_handle);
}

bool MYSQL_CONNECTION::SelectDb(const QString &name)
{
    m_error->Clear();
    if (!m_handle)
        return false;
    if (mariadb().mysql_select_db(m_handle, name.toUtf8().constData()) == 0) {
        m_dbname = name;
        return true;
    }
    copy_error();
    return false;
}

std::shared_ptr<MYSQL_RS> MYSQL_CONNECTION::Execute(const QString &statement, qint32 &affected)
{
    auto result_set = std::make_shared<MYSQL_RS>();
    result_set->set_connection(weak_from_this().lock());
    QString text = statement;
    run_query(*result_set, text, affected);
    return result_set;
}

std::shared_ptr<MYSQL_RS> MYSQL_CONNECTION::Execute(const QString &statement)
{
    qint32 affected = 0;
    return Execute(statement, affected);
}

void MYSQL_CONNECTION::run_query(MYSQL_RS &result_set, QString &statement, qint32 &affected)
{
    m_error->Clear();
    m_query = statement;
    statement = globals::trim_blanks(statement);
    if (statement.isEmpty() || m_state == Closed)
        return;
    bool failed = false;
    result_set.open_result(statement, m_handle, failed);
    affected = result_set.AffectedRecords();
    copy_error();
}

std::shared_ptr<MYSQL_RS> MYSQL_CONNECTION::execute_quietly(const QString &statement)
{
    const QString query = m_query;
    const qint32 number = m_error->Number();
    const QString description = m_error->Description();
    auto result_set = Execute(statement);
    m_query = query;
    m_error->SetError(number, description);
    return result_set;
}

QString MYSQL_CONNECTION::QueryInfo() const
{
    if (m_state == Closed)
        return QString();
    return ptr_to_string(mariadb().mysql_info(m_handle));
}

void MYSQL_CONNECTION::Flush(qint32 target)
{
    static const char *const targets[] = {
        "HOSTS, LOGS, PRIVILEGES, STATUS, TABLES",
        "HOSTS",
        "LOGS",
        "PRIVILEGES",
        "STATUS",
        "TABLES",
    };
    if (target < 0 || target > 5)
        return;
    Execute(QStringLiteral("FLUSH ") + QLatin1String(targets[target]));
}

qint32 MYSQL_CONNECTION::LastInsertID() const
{
    if (m_state == Closed)
        return 0;
    return static_cast<qint32>(static_cast<quint32>(mariadb().mysql_insert_id(m_handle)));
}

QString MYSQL_CONNECTION::ptr_to_string(const char *pointer)
{
    return pointer ? QString::fromUtf8(pointer) : QString();
}

void MYSQL_CONNECTION::copy_error()
{
    const unsigned int number = mariadb().mysql_errno(m_handle);
    if (number != 0)
        m_error->SetError(static_cast<qint32>(number), ptr_to_string(mariadb().mysql_error(m_handle)));
}
