#pragma once

#include "generate/Html_converter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

// What the project file takes from the pages rather than from the model.
struct ProjectPageTexts
{
    // The output page's success message as its box shows it.
    QString txt_success_message;
    // The CSV page's separator, file-name, file-type and end-of-line boxes.
    QString csv_separator;
    QString csv_filename;
    QString csv_format;
    QString csv_EndLine;
    // The MySQL page's host, user, password, port, database and table boxes.
    QString mysql_host;
    QString mysql_user;
    QString mysql_pw;
    QString mysql_port;
    QString mysql_db;
    QString mysql_table;
    // The owner mail page's IP box and body, the auto-responder's body.
    bool owner_send_ip = true;
    QString owner_message;
    QString auto_message;
    // The fonts and colours (0x00BBGGRR) of the field-rules page's error
    // alert and of the output page's success message.
    FontSpec alert_font;
    qint32 alert_color = 0;
    FontSpec message_font;
    qint32 message_color = 0;
};

// A value the project file cannot hold as it stands: it would split a line
// or an item and come back changed. Nothing was written.
class ProjectValueError final : public std::runtime_error
{
public:
    ProjectValueError(const QString &page, const QString &field, const QString &text, const QString &problem);

    const QString &page() const { return m_page; }
    const QString &field() const { return m_field; }
    const QString &text() const { return m_text; }
    const QString &problem() const { return m_problem; }

    // What the user is told: where the text is, what is wrong, the text.
    QString message() const;

private:
    QString m_page;
    QString m_field;
    QString m_text;
    QString m_problem;
};

// Writes a project file from the model and the pages' texts: sections of
// key=value lines and one record line per field, which the reader reads back
// by position. Every line ends with CR LF; the text is UTF-8.
class ProjectWriter final
{
public:
    explicit ProjectWriter(const ProjectPageTexts &pages);

    // The whole file; raises ProjectValueError for a value it cannot hold.
    QByteArray text() const;

    // Writes the file through a temporary file renamed only when complete,
    // readable and writable by its owner only (it holds the MySQL password).
    // Raises ProjectValueError (nothing written, an existing file kept) or
    // FileError.
    void save(const QString &path) const;

private:
    // Where a value is set: the page and the box, as the user knows them.
    struct Place
    {
        QString page;
        QString field;
    };
    struct Value
    {
        QString text;
        Place place;
    };

    QStringList lines() const;

    ProjectPageTexts m_pages;
};

namespace globals {

// The project writer: writes the project to `path`, then keeps the path in
// project_save_path and sets project_saved. On a failure (raised as
// ProjectWriter::save raises) both stay as they were.
void save_project(const QString &path, const ProjectPageTexts &pages);

} // namespace globals
