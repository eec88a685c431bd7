#include "TestServer.h"

#include "mysql/MYSQL_CONNECTION.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <mysql.h>

namespace {

std::optional<TestServer> read_server(const QString &state)
{
    QFile file(state);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QMap<QByteArray, QString> values;
    for (const QByteArray &line : file.readAll().split('\n'))
        values.insert(line.left(line.indexOf('=')), QString::fromUtf8(line.mid(line.indexOf('=') + 1)));
    const TestServer server { values["host"], values["user"], values["password"], values["port"].toInt() };
    return server.port ? std::optional(server) : std::nullopt;
}

// Sends statements; a refusal fails the test with the server's message.
bool run(st_mysql *raw, const QString &statements)
{
    const QByteArray text = statements.toUtf8();
    if (raw && mysql_real_query(raw, text.constData(), static_cast<unsigned long>(text.size())) != 0)
        ADD_FAILURE() << text.constData() << ": " << mysql_error(raw);
    return raw && mysql_errno(raw) == 0;
}

} // namespace

const TestServer *TestServer::get(bool latin1)
{
    static const QString state = qEnvironmentVariable("TRESSEL_MARIADB", QStringLiteral(TRESSEL_MARIADB_STATE));
    static const std::optional<TestServer> servers[] = { read_server(state), read_server(state + ".latin1") };
    const std::optional<TestServer> &server = servers[latin1];
    if (!server)
        ADD_FAILURE() << "No test MariaDB server: run the tests through ctest, or set TRESSEL_MARIADB.";
    return server ? &*server : nullptr;
}

OwnServer::OwnServer()
{
    if (run(QStringLiteral("start")))
        m_server = read_server(m_folder.filePath(QStringLiteral("state")));
    if (!m_server)
        ADD_FAILURE() << "the test's own MariaDB server did not start";
}

OwnServer::~OwnServer()
{
    run(QStringLiteral("stop"));
}

bool OwnServer::run(const QString &mode)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    script.start(QStringLiteral(TRESSEL_MARIADB_SCRIPT), { mode, m_folder.filePath(QStringLiteral("state")) });
    // The script bounds its own waits.
    const bool done
        = script.waitForFinished(-1) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
    if (!done)
        ADD_FAILURE() << "mariadb_server.sh " << mode.toStdString() << ": "
                      << script.readAllStandardError().toStdString();
    return done;
}

TestDatabase::TestDatabase(const TestServer *server)
    : m_server(server)
{
    const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process too: one test may run twice at once (under memcheck as well).
    const QByteArray full = QCoreApplication::applicationName().toUtf8() + ':'
        + QByteArray::number(QCoreApplication::applicationPid()) + ':' + test->test_suite_name() + '.' + test->name();
    m_name = "t_" + QCryptographicHash::hash(full, QCryptographicHash::Sha1).toHex().left(20);
    if (!m_server)
        return;
    m_raw = mysql_init(nullptr);
    mysql_options(m_raw, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    // A test may stop its server and start it again.
    const my_bool reconnect = 1;
    mysql_options(m_raw, MYSQL_OPT_RECONNECT, &reconnect);
    if (!mysql_real_connect(m_raw, m_server->host.toUtf8().constData(), m_server->user.toUtf8().constData(),
            m_server->password.toUtf8().constData(), nullptr, static_cast<unsigned>(m_server->port), nullptr,
            CLIENT_MULTI_STATEMENTS)) {
        ADD_FAILURE() << "cannot connect to the test server: " << mysql_error(m_raw);
        mysql_close(std::exchange(m_raw, nullptr));
        return;
    }
    exec(QString("DROP DATABASE IF EXISTS `%1`; CREATE DATABASE `%1`; USE `%1`").arg(m_name));
}

TestDatabase::~TestDatabase()
{
    if (!m_raw)
        return;
    mysql_ping(m_raw); // connects again to a server started again
    for (const QString &other : std::as_const(m_others))
        run(m_raw, "DROP DATABASE `" + other + '`');
    run(m_raw, "DROP DATABASE `" + m_name + '`');
    mysql_close(m_raw);
}

QString TestDatabase::create_another(const QString &suffix)
{
    const QString other = m_name + '_' + suffix;
    exec(QString("DROP DATABASE IF EXISTS `%1`; CREATE DATABASE `%1`").arg(other));
    m_others << other;
    return other;
}

std::shared_ptr<MYSQL_CONNECTION> TestDatabase::connect() const
{
    auto connection = std::make_shared<MYSQL_CONNECTION>();
    if (m_server)
        connection->OpenConnection(m_server->host, m_server->user, m_server->password, m_name, m_server->port);
    EXPECT_EQ(connection->State(), MYSQL_CONNECTION::Open) << connection->Error()->Description().toStdString();
    return connection;
}

void TestDatabase::exec(const QString &statements)
{
    if (!run(m_raw, statements))
        return;
    do
        mysql_free_result(mysql_store_result(m_raw));
    while (mysql_next_result(m_raw) == 0);
    if (mysql_errno(m_raw))
        ADD_FAILURE() << statements.toStdString() << ": " << mysql_error(m_raw);
}

RawRows TestDatabase::rows(const QString &query)
{
    RawRows result;
    MYSQL_RES *res = run(m_raw, query) ? mysql_store_result(m_raw) : nullptr;
    while (MYSQL_ROW row = res ? mysql_fetch_row(res) : nullptr) {
        const unsigned long *lengths = mysql_fetch_lengths(res);
        auto &values = result.emplace_back();
        for (unsigned int i = 0; i < mysql_num_fields(res); ++i)
            values.push_back(row[i] ? std::optional(QByteArray(row[i], qsizetype(lengths[i]))) : std::nullopt);
    }
    mysql_free_result(res);
    return result;
}

QStringList TestDatabase::column(const QString &query)
{
    QStringList values;
    for (const auto &row : rows(query))
        values << (row.at(0) ? QString::fromUtf8(*row[0]) : QStringLiteral("(null)"));
    return values;
}

qint32 closed_port()
{
    // A port the kernel just handed out and that is closed again at once.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
