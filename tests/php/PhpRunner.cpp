#include "PhpRunner.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QUrl>

#include <stdexcept>

namespace {

QString capture_script()
{
    return QStringLiteral(TRESSEL_CAPTURE_MAIL);
}

// php-cgi shows errors in the page whatever display_errors says, so they
// are logged to a file of the runner's instead and kept apart from the page.
QString error_log(const QString &mail_folder)
{
    return mail_folder + QStringLiteral("/php-errors.log");
}

QStringList php_settings(const QString &mail_folder)
{
    return {
        QStringLiteral("-d"),
        QStringLiteral("sendmail_path=%1 %2").arg(capture_script(), mail_folder),
        QStringLiteral("-d"),
        QStringLiteral("error_reporting=E_ALL"),
        QStringLiteral("-d"),
        QStringLiteral("display_errors=0"),
        QStringLiteral("-d"),
        QStringLiteral("log_errors=1"),
        QStringLiteral("-d"),
        QStringLiteral("html_errors=0"),
        QStringLiteral("-d"),
        QStringLiteral("error_log=") + error_log(mail_folder),
    };
}

QByteArray take_errors(const QString &mail_folder)
{
    QFile log(error_log(mail_folder));
    if (!log.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray errors = log.readAll();
    log.remove();
    return errors;
}

QByteArray url_encoded(const PhpRequest &request)
{
    QByteArray body;
    for (const auto &[name, value] : request.fields) {
        if (!body.isEmpty())
            body += '&';
        body += name.toPercentEncoding() + '=' + value.toPercentEncoding();
    }
    return body;
}

QByteArray multipart(const PhpRequest &request, const QByteArray &boundary)
{
    QByteArray body;
    for (const auto &[name, value] : request.fields) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
    }
    for (const auto &upload : request.uploads) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + upload.field + "\"; filename=\""
            + upload.filename + "\"\r\nContent-Type: " + upload.mime + "\r\n\r\n" + upload.content + "\r\n";
    }
    return body + "--" + boundary + "--\r\n";
}

QMap<QByteArray, QByteArray> parse_headers(const QByteArray &block)
{
    QMap<QByteArray, QByteArray> headers;
    QByteArray last;
    for (const QByteArray &raw : block.split('\n')) {
        const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
        if (line.isEmpty())
            continue;
        if ((line.startsWith(' ') || line.startsWith('\t')) && !last.isEmpty()) {
            headers[last] += ' ' + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        last = line.left(colon).trimmed().toLower();
        headers.insert(last, line.mid(colon + 1).trimmed());
    }
    return headers;
}

// Splits at the first empty line, whichever line end the writer used.
QPair<QByteArray, QByteArray> split_head(const QByteArray &data)
{
    qsizetype at = data.indexOf("\r\n\r\n");
    qsizetype skip = 4;
    const qsizetype bare = data.indexOf("\n\n");
    if (bare >= 0 && (at < 0 || bare < at)) {
        at = bare;
        skip = 2;
    }
    if (at < 0)
        return { data, QByteArray() };
    return { data.left(at), data.mid(at + skip) };
}

PhpResponse finish(QProcess &php, PhpResponse response, bool cgi, const QString &mail_folder)
{
    if (!php.waitForFinished(60000)) {
        php.kill();
        php.waitForFinished();
        throw std::runtime_error("php did not finish within a minute");
    }
    response.exit_code = php.exitCode();
    response.errors = php.readAllStandardError() + take_errors(mail_folder);
    const QByteArray out = php.readAllStandardOutput();
    if (!cgi) {
        response.body = out;
        return response;
    }
    const auto [head, body] = split_head(out);
    response.headers = parse_headers(head);
    response.body = body;
    const QByteArray status = response.headers.value("status");
    if (!status.isEmpty())
        response.status = status.left(3).toInt();
    return response;
}

} // namespace

PhpRunner::PhpRunner()
{
    if (!m_folder.isValid() || !m_mail_folder.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

PhpResponse PhpRunner::run(const QString &script, const PhpRequest &request)
{
    const QString script_path = QDir(folder()).absoluteFilePath(script);
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    env.insert(QStringLiteral("REDIRECT_STATUS"), QStringLiteral("200"));
    env.insert(QStringLiteral("GATEWAY_INTERFACE"), QStringLiteral("CGI/1.1"));
    env.insert(QStringLiteral("SERVER_PROTOCOL"), QStringLiteral("HTTP/1.1"));
    env.insert(QStringLiteral("SERVER_NAME"), QStringLiteral("localhost"));
    env.insert(QStringLiteral("SCRIPT_FILENAME"), script_path);
    env.insert(QStringLiteral("SCRIPT_NAME"), QLatin1Char('/') + script);
    env.insert(QStringLiteral("REQUEST_METHOD"), QString::fromLatin1(request.method));
    env.insert(QStringLiteral("REMOTE_ADDR"), QString::fromLatin1(request.remote_addr));

    QByteArray body;
    if (request.method == "GET") {
        env.insert(QStringLiteral("QUERY_STRING"), QString::fromLatin1(url_encoded(request)));
    } else {
        QString type;
        if (request.uploads.isEmpty()) {
            body = url_encoded(request);
            type = QStringLiteral("application/x-www-form-urlencoded");
        } else {
            const QByteArray boundary = "----tressel-test-boundary-7d93";
            body = multipart(request, boundary);
            type = QStringLiteral("multipart/form-data; boundary=") + QString::fromLatin1(boundary);
        }
        env.insert(QStringLiteral("CONTENT_TYPE"), type);
        env.insert(QStringLiteral("CONTENT_LENGTH"), QString::number(body.size()));
        env.insert(QStringLiteral("QUERY_STRING"), QString());
    }

    QProcess php;
    php.setProcessEnvironment(env);
    php.setWorkingDirectory(folder());
    php.start(QStringLiteral("php-cgi"), php_settings(m_mail_folder.path()));
    if (!php.waitForStarted())
        throw std::runtime_error("php-cgi cannot be started");
    php.write(body);
    php.closeWriteChannel();
    return finish(php, PhpResponse(), true, m_mail_folder.path());
}

PhpResponse PhpRunner::run_cli(const QString &script)
{
    QProcess php;
    php.setWorkingDirectory(folder());
    php.start(QStringLiteral("php"), php_settings(m_mail_folder.path()) << QDir(folder()).absoluteFilePath(script));
    if (!php.waitForStarted())
        throw std::runtime_error("php cannot be started");
    php.closeWriteChannel();
    return finish(php, PhpResponse(), false, m_mail_folder.path());
}

QList<CapturedMail> PhpRunner::take_mails()
{
    QDir dir(m_mail_folder.path());
    QList<CapturedMail> mails;
    for (const QString &name : dir.entryList({ QStringLiteral("*.eml") }, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        CapturedMail mail;
        mail.raw = file.readAll();
        const auto [head, body] = split_head(mail.raw);
        mail.headers = parse_headers(head);
        mail.body = body;
        mails.append(mail);
        file.close();
        file.remove();
    }
    return mails;
}
