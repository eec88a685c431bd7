#include "TestServer.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <mysql.h>

namespace {

std::optional<TestServer> read_server()
{
    const QString path = qEnvironmentVariable("TRESSEL_MARIADB", QStringLiteral(TRESSEL_MARIADB_STATE));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    TestServer server;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const qsizetype at = raw.indexOf('=');
        if (at < 0)
            continue;
        const QByteArray key = raw.left(at);
        const QString value = QString::fromUtf8(raw.mid(at + 1));
        if (key == "host")
            server.host = value;
        else if (key == "port")
            server.port = value.toInt();
        else if (key == "socket")
            server.socket = value;
        else if (key == "user")
            server.user = value;
        else if (key == "password")
            server.password = value;
    }
    if (server.port == 0)
        return std::nullopt;
    return server;
}

// A database name made from the test's name, within MySQL's 64 characters.
QString database_name()
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    QString name = QStringLiteral("t_") + QString::fromUtf8(info->test_suite_name()) + QLatin1Char('_')
        + QString::fromUtf8(info->name());
    for (QChar &c : name) {
        if (!c.isLetterOrNumber() || c.unicode() > 127)
            c = QLatin1Char('_');
    }
    name = name.toLower();
    if (name.size() > 60) {
        const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(10);
        name = name.left(49) + QLatin1Char('_') + QString::fromLatin1(hash);
    }
    return name;
}

} // namespace

const TestServer *TestServer::get()
{
    static const std::optional<TestServer> server = read_server();
    if (!server) {
        ADD_FAILURE() << "No test MariaDB server: run the tests through ctest, which starts one with "
                         "tests/mysql/mariadb_server.sh, or point TRESSEL_MARIADB at the file its start wrote.";
        return nullptr;
    }
    return &*server;
}

TestDatabase::TestDatabase()
    : m_server(TestServer::get())
    , m_name(database_name())
{
    if (!m_server)
        return;
    m_raw = mysql_init(nullptr);
    mysql_options(m_raw, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(m_raw, m_server->host.toUtf8().constData(), m_server->user.toUtf8().constData(),
            m_server->password.toUtf8().constData(), nullptr, static_cast<unsigned>(m_server->port), nullptr, 0)) {
        ADD_FAILURE() << "cannot connect to the test server: " << mysql_error(m_raw);
        mysql_close(m_raw);
        m_raw = nullptr;
        return;
    }
    exec({ QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name),
        QStringLiteral("CREATE DATABASE `%1`").arg(m_name), QStringLiteral("USE `%1`").arg(m_name) });
}

TestDatabase::~TestDatabase()
{
    if (!m_raw)
        return;
    mysql_query(m_raw, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name).toUtf8().constData());
    mysql_close(m_raw);
}

void TestDatabase::exec(const QString &statement)
{
    if (!m_raw)
        return;
    const QByteArray text = statement.toUtf8();
    if (mysql_real_query(m_raw, text.constData(), static_cast<unsigned long>(text.size())) != 0) {
        ADD_FAILURE() << text.constData() << ": " << mysql_error(m_raw);
        return;
    }
    mysql_free_result(mysql_store_result(m_raw));
}

void TestDatabase::exec(const QStringList &statements)
{
    for (const QString &statement : statements)
        exec(statement);
}

RawRows TestDatabase::rows(const QString &query)
{
    RawRows result;
    if (!m_raw)
        return result;
    const QByteArray text = query.toUtf8();
    if (mysql_real_query(m_raw, text.constData(), static_cast<unsigned long>(text.size())) != 0) {
        ADD_FAILURE() << text.constData() << ": " << mysql_error(m_raw);
        return result;
    }
    MYSQL_RES *res = mysql_store_result(m_raw);
    if (!res)
        return result;
    const unsigned int count = mysql_num_fields(res);
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
        const unsigned long *lengths = mysql_fetch_lengths(res);
        std::vector<RawValue> values;
        for (unsigned int i = 0; i < count; ++i) {
            if (row[i])
                values.emplace_back(QByteArray(row[i], static_cast<qsizetype>(lengths[i])));
            else
                values.emplace_back(std::nullopt);
        }
        result.push_back(std::move(values));
    }
    mysql_free_result(res);
    return result;
}

QStringList TestDatabase::column(const QString &query)
{
    QStringList values;
    for (const auto &row : rows(query))
        values << (row.empty() || !row[0] ? QStringLiteral("(null)") : QString::fromUtf8(*row[0]));
    return values;
}

qint32 closed_port()
{
    // A port the kernel just handed out and that is closed again at once.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const qint32 port = probe.serverPort();
    probe.close();
    return port;
}
