#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A request to a generated script, posted as a browser would.
struct PhpRequest
{
    struct Upload
    {
        QByteArray field; // the posted name
        QByteArray filename;
        QByteArray content;
        QByteArray mime = "application/octet-stream";
    };

    QByteArray method = "POST";
    QList<QPair<QByteArray, QByteArray>> fields {}; // in order; a name may repeat
    QList<Upload> uploads {}; // any upload makes the body multipart
    QByteArray remote_addr = "203.0.113.7";
    // A body sent as it stands, of this type, in place of the fields and uploads.
    QByteArray content_type {};
    QByteArray body {};

    PhpRequest &add(const QByteArray &name, const QByteArray &value)
    {
        fields.append({ name, value });
        return *this;
    }
};

// What a script wrote: its answer to a request, or a mail it sent.
struct PhpOutput
{
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body; // of a mail sent quoted-printable or base64, decoded
    QByteArray raw; // headers and body as written
    QByteArray errors; // PHP's warnings, notices and errors while answering
    QByteArrayList arguments; // of a mail: those sendmail was given beyond its own

    QByteArray location() const { return headers.value("location"); }
};
using PhpResponse = PhpOutput;
using CapturedMail = PhpOutput;

// Runs generated scripts with php-cgi, as a web server would, in a folder of their own;
// mails are captured instead of sent, PHP's diagnostics (deprecations too) collected.
// Files are created as under a server whose umask lets everyone write (0), so that what
// a script makes writable shows.
class PhpRunner final
{
public:
    // More PHP arguments for the runs that follow: "-d" and a setting, or "-n" for a
    // PHP without the extension modules of its configuration.
    QStringList arguments;
    // The largest file the php-cgi runs that follow may write, in bytes (0: none), as on a full disk.
    qint64 file_size_limit = 0;
    // Mail to this recipient (the start of its To header) is refused by the mail program, as
    // one over the server's size limit is; empty: none.
    QByteArray refused_recipient;

    // The folder scripts and their side files are written to and run in.
    QString folder() const { return m_folder.path(); }
    QString path(const QString &name) const { return m_folder.filePath(name); }

    PhpResponse run(const QString &script, const PhpRequest &request)
    {
        return run_requests(script, { request }, false).front();
    }
    // Runs every request, as visitors posting together would: each script waits, its
    // request read, until all have started, and then all go on at the same moment.
    QList<PhpResponse> run_together(const QString &script, const QList<PhpRequest> &requests)
    {
        return run_requests(script, requests, true);
    }
    // Runs a script with the command-line PHP (for setup scripts).
    PhpResponse run_cli(const QString &script);

    // Mails sent so far, oldest first; taking them empties the capture.
    QList<CapturedMail> take_mails();

private:
    QList<PhpResponse> run_requests(const QString &script, const QList<PhpRequest> &requests, bool together);

    QTemporaryDir m_folder;
    QTemporaryDir m_mail_folder;
};
