#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <chrono>

// Loads the bytes of an HTML page from a local file or a web server, within
// a size limit and, for the web, a time-out. A failure comes back as its
// reason in words a user understands.
class PageLoader final
{
public:
    struct Page
    {
        QByteArray bytes;
        // The charset the HTTP header named, if any.
        QByteArray charset;
        // Why the page could not be loaded (a clause such as "the file ...
        // does not exist."); empty when it was loaded.
        QString failure;
    };

    // `timeout`: how long a web server may stay silent.
    PageLoader(std::chrono::milliseconds timeout, qint64 max_size);

    // Reads a local file; may run on any thread.
    Page read_file(const QString &path) const;

    // Fetches an http or https address, following redirects. The calling
    // thread's event loop runs until the page is complete, so a user
    // interface stays live.
    Page fetch(const QUrl &url) const;

    // A duration as "30 seconds" or "1 second".
    static QString seconds(std::chrono::milliseconds duration);

private:
    QString too_large(const QString &what) const;

    std::chrono::milliseconds m_timeout;
    qint64 m_max_size;
};
