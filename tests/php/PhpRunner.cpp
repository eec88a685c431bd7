#include "PhpRunner.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <memory>
#include <stdexcept>
#include <vector>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// php-cgi shows errors in the page whatever display_errors says, so each run
// logs them to a file of its own instead, apart from the page.
void start(QProcess &php, const QString &program, const QString &mail_folder, const QString &error_log,
    QStringList arguments, const QStringList &more = {}, qint64 file_size_limit = 0)
{
    for (const QString &setting : { QStringLiteral("sendmail_path=" TRESSEL_CAPTURE_MAIL " ") + mail_folder,
             QStringLiteral("error_reporting=E_ALL"), QStringLiteral("display_errors=0"),
             QStringLiteral("log_errors=1"), QStringLiteral("html_errors=0"), "error_log=" + error_log })
        arguments << QStringLiteral("-d") << setting;
    php.setChildProcessModifier([file_size_limit] {
        ::umask(0);
        // Permissions hold as for a server's user, even when the tests run as root.
        for (const int capability : { CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER })
            ::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0);
        if (file_size_limit > 0) { // a write past it fails instead of ending the process
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit { static_cast<rlim_t>(file_size_limit), static_cast<rlim_t>(file_size_limit) };
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
    });
    php.start(program, arguments + more);
    if (!php.waitForStarted())
        throw std::runtime_error("php cannot be started");
}

QByteArray url_encoded(const PhpRequest &request)
{
    QByteArrayList pairs;
    for (const auto &[name, value] : request.fields)
        pairs << name.toPercentEncoding() + '=' + value.toPercentEncoding();
    return pairs.join('&');
}

QByteArray multipart(const PhpRequest &request, const QByteArray &boundary)
{
    QByteArray body;
    for (const auto &[name, value] : request.fields)
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
    for (const auto &upload : request.uploads) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + upload.field + "\"; filename=\""
            + upload.filename + "\"\r\nContent-Type: " + upload.mime + "\r\n\r\n" + upload.content + "\r\n";
    }
    return body + "--" + boundary + "--\r\n";
}

// Splits at the first empty line, whichever line end the writer used, and
// reads the header lines above it.
QByteArray split_head(const QByteArray &data, QMap<QByteArray, QByteArray> &headers)
{
    const qsizetype crlf = data.indexOf("\r\n\r\n");
    const qsizetype lf = data.indexOf("\n\n");
    const bool bare = lf >= 0 && (crlf < 0 || lf < crlf);
    const qsizetype at = bare ? lf : crlf;
    QByteArray last;
    for (const QByteArray &line : data.left(at < 0 ? data.size() : at).split('\n')) {
        // A line that starts with a blank goes on with the header before it.
        if ((line.startsWith(' ') || line.startsWith('\t')) && !last.isEmpty()) {
            headers[last] += ' ' + line.trimmed();
        } else if (const qsizetype colon = line.indexOf(':'); colon > 0) {
            last = line.left(colon).trimmed().toLower();
            headers.insert(last, line.mid(colon + 1).trimmed());
        }
    }
    return at < 0 ? QByteArray() : data.mid(at + (bare ? 2 : 4));
}

PhpResponse finish(QProcess &php, bool cgi, const QString &error_log)
{
    if (!php.waitForFinished(60000))
        throw std::runtime_error("php did not finish within a minute"); // QProcess ends it
    PhpResponse response;
    QFile log(error_log);
    response.errors = php.readAllStandardError() + (log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray());
    log.remove();
    response.body = response.raw = php.readAllStandardOutput();
    if (cgi)
        response.body = split_head(response.raw, response.headers);
    return response;
}

// Holds back every script started with its file prepended until the test opens the
// gate: the scripts wait for a shared lock on the gate while the test holds it.
class Gate final
{
public:
    Gate()
        : m_path(m_folder.filePath(QStringLiteral("gate")))
    {
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0 || ::flock(m_fd, LOCK_EX) != 0)
            throw std::runtime_error("the gate cannot be held");
    }
    ~Gate() { ::close(m_fd); }

    QString path() const { return m_path; }

    // Waits until `count` scripts wait at the gate, then lets them all go.
    void open_when_waiting(int count) const
    {
        const QDeadlineTimer deadline(60000);
        const QDir folder(m_folder.path());
        while (folder.entryList({ QStringLiteral("gate-*") }, QDir::Files).size() < count) {
            if (deadline.hasExpired())
                throw std::runtime_error("the scripts did not reach the gate within a minute");
            QThread::msleep(2);
        }
        ::flock(m_fd, LOCK_UN);
    }

private:
    QTemporaryDir m_folder;
    QString m_path;
    int m_fd = -1;
};

} // namespace

QList<PhpResponse> PhpRunner::run_requests(const QString &script, const QList<PhpRequest> &requests, bool together)
{
    const auto error_log
        = [this](std::size_t run) { return m_mail_folder.filePath(QStringLiteral("errors-%1.log").arg(run)); };
    const std::unique_ptr<Gate> gate = together ? std::make_unique<Gate>() : nullptr;
    QStringList run_arguments = arguments;
    if (gate)
        run_arguments << QStringLiteral("-d") << QStringLiteral("auto_prepend_file=" TRESSEL_GATE_SCRIPT);
    std::vector<std::unique_ptr<QProcess>> running;
    for (const PhpRequest &request : requests) {
        const bool get = request.method == "GET" || request.method == "HEAD";
        const QByteArray boundary = "----tressel-test-boundary-7d93";
        const QByteArray body = get           ? QByteArray()
            : !request.content_type.isEmpty() ? request.body
            : request.uploads.isEmpty()       ? url_encoded(request)
                                              : multipart(request, boundary);
        QProcessEnvironment env;
        env.insert("PATH", qEnvironmentVariable("PATH"));
        env.insert("REDIRECT_STATUS", "200");
        env.insert("SCRIPT_FILENAME", QDir(folder()).absoluteFilePath(script));
        env.insert("REQUEST_METHOD", request.method);
        env.insert("REMOTE_ADDR", request.remote_addr);
        env.insert("QUERY_STRING", get ? url_encoded(request) : QByteArray());
        env.insert("CONTENT_LENGTH", QString::number(body.size()));
        env.insert("CONTENT_TYPE",
            !request.content_type.isEmpty() ? request.content_type
                : request.uploads.isEmpty() ? "application/x-www-form-urlencoded"
                                            : "multipart/form-data; boundary=" + boundary);
        env.insert("TRESSEL_GATE", gate ? gate->path() : QString());
        env.insert("TRESSEL_REFUSED_RECIPIENT", refused_recipient);
        auto &php = *running.emplace_back(std::make_unique<QProcess>());
        php.setProcessEnvironment(env);
        php.setWorkingDirectory(folder());
        start(php, QStringLiteral("php-cgi"), m_mail_folder.path(), error_log(running.size()), run_arguments, {},
            file_size_limit);
        php.write(body);
        // A waiting script must have its whole request: PHP reads it before the script starts.
        while (gate && php.bytesToWrite() > 0) {
            if (!php.waitForBytesWritten(60000))
                throw std::runtime_error("php did not read its request within a minute");
        }
        php.closeWriteChannel();
    }
    if (gate)
        gate->open_when_waiting(static_cast<int>(running.size()));
    QList<PhpResponse> responses;
    for (std::size_t i = 0; i < running.size(); ++i)
        responses << finish(*running[i], true, error_log(i + 1));
    return responses;
}

PhpResponse PhpRunner::run_cli(const QString &script)
{
    QProcess php;
    php.setWorkingDirectory(folder());
    const QString log = m_mail_folder.filePath(QStringLiteral("errors-cli.log"));
    start(
        php, QStringLiteral("php"), m_mail_folder.path(), log, arguments, { QDir(folder()).absoluteFilePath(script) });
    php.closeWriteChannel();
    return finish(php, false, log);
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
        mail.body = split_head(mail.raw, mail.headers);
        const QByteArray encoding = mail.headers.value("content-transfer-encoding").toLower();
        if (encoding == "quoted-printable")
            mail.body = QByteArray::fromPercentEncoding(mail.body.replace("=\r\n", ""), '=');
        else if (encoding == "base64") // with the line end that closes the body, as quoted-printable keeps it
            mail.body = QByteArray::fromBase64(mail.body) + (mail.body.endsWith("\r\n") ? "\r\n" : "");
        QFile arguments(dir.filePath(name.chopped(4) + QStringLiteral(".args")));
        mail.arguments = arguments.open(QIODevice::ReadOnly) ? arguments.readAll().split('\n') : QByteArrayList();
        mail.arguments.removeAll(QByteArray());
        mails.append(mail);
        file.remove();
    }
    return mails;
}
