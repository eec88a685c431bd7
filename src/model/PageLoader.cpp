#include "PageLoader.h"

#include "HtmlEncoding.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace {

// A server that keeps trickling bytes gets this many silences' worth of
// time in all.
constexpr int kTotalTimeouts = 10;

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

PageLoader::PageLoader(std::chrono::milliseconds timeout, qint64 max_size)
    : m_timeout(timeout)
    , m_max_size(max_size)
{ }

QString PageLoader::seconds(std::chrono::milliseconds duration)
{
    const double value = duration.count() / 1000.0;
    const QString number = QString::number(value, 'g', 6);
    return number + (value == 1 ? QStringLiteral(" second") : QStringLiteral(" seconds"));
}

QString PageLoader::too_large(const QString &what) const
{
    return what + QStringLiteral(" is larger than ")
        + QLocale::c().formattedDataSize(m_max_size, 0, QLocale::DataSizeTraditionalFormat)
        + QStringLiteral(", more than a page with a form needs.");
}

PageLoader::Page PageLoader::read_file(const QString &path) const
{
    Page page;
    const QString shown = quoted(QDir::toNativeSeparators(path));
    const QFileInfo info(path);
    if (path.isEmpty()) {
        page.failure = QStringLiteral("no file was chosen.");
    } else if (!info.exists()) {
        page.failure = QStringLiteral("the file ") + shown + QStringLiteral(" does not exist.");
    } else if (info.isDir()) {
        page.failure = shown + QStringLiteral(" is a folder, not a file.");
    } else if (!info.isFile()) {
        // A device or a pipe could block or never end.
        page.failure = shown + QStringLiteral(" is not an ordinary file.");
    } else if (info.size() > m_max_size) {
        page.failure = QStringLiteral("the file ") + too_large(shown);
    } else {
        QFile file(path);
        const auto unreadable = [&] {
            return QStringLiteral("the file ") + shown + QStringLiteral(" cannot be read (") + file.errorString()
                + QStringLiteral(").");
        };
        if (!file.open(QIODevice::ReadOnly)) {
            page.failure = unreadable();
            return page;
        }
        // Sized for the file as it is now; a file that grows meanwhile
        // still stops at the limit.
        QByteArray bytes(qMin(info.size(), m_max_size) + 1, Qt::Uninitialized);
        qint64 length = 0;
        for (;;) {
            if (length == bytes.size()) {
                if (length > m_max_size)
                    break;
                bytes.resize(qMin(length * 2, m_max_size + 1));
            }
            const qint64 got = file.read(bytes.data() + length, bytes.size() - length);
            if (got < 0) {
                page.failure = unreadable();
                return page;
            }
            if (got == 0)
                break;
            length += got;
        }
        if (length > m_max_size) {
            page.failure = QStringLiteral("the file ") + too_large(shown);
            return page;
        }
        bytes.truncate(length);
        page.bytes = bytes;
    }
    return page;
}

PageLoader::Page PageLoader::fetch(const QUrl &url) const
{
    Page page;
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(20);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla/5.0 (compatible; Tressel)"));
    request.setRawHeader("Accept", "text/html,application/xhtml+xml,*/*;q=0.8");
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));

    enum class Stop { None, Silent, TooSlow, TooLarge };
    Stop stop = Stop::None;
    QEventLoop loop;
    QTimer silence;
    QTimer overall;
    silence.setSingleShot(true);
    overall.setSingleShot(true);
    const auto give_up = [&](Stop why) {
        if (stop == Stop::None) {
            stop = why;
            reply->abort();
        }
    };
    QObject::connect(&silence, &QTimer::timeout, &loop, [&] { give_up(Stop::Silent); });
    QObject::connect(&overall, &QTimer::timeout, &loop, [&] { give_up(Stop::TooSlow); });
    const auto heard = [&] { silence.start(m_timeout); };
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        heard();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_max_size)
            give_up(Stop::TooLarge);
    });
    QObject::connect(reply.get(), &QNetworkReply::redirected, &loop, heard);
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        heard();
        const QByteArray chunk = reply->readAll();
        if (page.bytes.size() + chunk.size() > m_max_size)
            give_up(Stop::TooLarge);
        else
            page.bytes += chunk;
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    heard();
    overall.start(m_timeout * kTotalTimeouts);
    if (!reply->isFinished())
        loop.exec();

    const QString host = quoted(reply->url().host());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    switch (stop) {
    case Stop::Silent:
        page.failure = QStringLiteral("the server ") + host + QStringLiteral(" did not answer within ")
            + seconds(m_timeout) + QLatin1Char('.');
        break;
    case Stop::TooSlow:
        page.failure = QStringLiteral("the page did not finish arriving within ") + seconds(m_timeout * kTotalTimeouts)
            + QLatin1Char('.');
        break;
    case Stop::TooLarge:
        page.failure = too_large(QStringLiteral("the page"));
        break;
    case Stop::None:
        if (status >= 400) {
            const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
            page.failure = QStringLiteral("the server ") + host + QStringLiteral(" answered ")
                + quoted(QString::number(status) + (reason.isEmpty() ? QString() : QLatin1Char(' ') + reason))
                + QLatin1Char('.');
            break;
        }
        switch (reply->error()) {
        case QNetworkReply::NoError:
            break;
        case QNetworkReply::HostNotFoundError:
            page.failure = QStringLiteral("the server ") + host
                + QStringLiteral(" was not found. Check the address and the Internet connection.");
            break;
        case QNetworkReply::ConnectionRefusedError:
            page.failure = QStringLiteral("the server ") + host + QStringLiteral(" refused the connection.");
            break;
        case QNetworkReply::RemoteHostClosedError:
            page.failure = QStringLiteral("the server ") + host
                + QStringLiteral(" closed the connection before sending the page.");
            break;
        case QNetworkReply::TimeoutError:
            page.failure = QStringLiteral("the server ") + host + QStringLiteral(" did not answer in time.");
            break;
        case QNetworkReply::TooManyRedirectsError:
            page.failure = QStringLiteral("the server ") + host + QStringLiteral(" redirected the request too often.");
            break;
        case QNetworkReply::InsecureRedirectError:
            page.failure = QStringLiteral("the secure address redirected to an insecure one.");
            break;
        case QNetworkReply::SslHandshakeFailedError:
            page.failure = QStringLiteral("no secure connection to ") + host + QStringLiteral(" could be made (")
                + reply->errorString() + QStringLiteral(").");
            break;
        default:
            page.failure = reply->errorString() + QLatin1Char('.');
            break;
        }
    }
    if (page.failure.isEmpty())
        page.charset = HtmlEncoding::charset_parameter(reply->rawHeader("Content-Type"));
    else
        page.bytes.clear();
    return page;
}
