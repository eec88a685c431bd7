#pragma once

#include "Collection.h"
#include "Cprefrences.h"
#include "fields.h"

#include "generate/Html_converter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

// A project file that cannot be read: the line at fault (counted from 1;
// 0 when the file itself could not be opened) and what is wrong there.
class ProjectReadError final : public std::runtime_error
{
public:
    ProjectReadError(int line, const QString &what);

    int line() const { return m_line; }
    const QString &what_text() const { return m_what; }

    // "The project could not be read: <file>, line N: <what>".
    QString message(const QString &file) const;

private:
    int m_line;
    QString m_what;
};

// A project file read whole and checked, before anything of it reaches the
// model or the pages. The first four sections are converted to their types;
// the later ones are kept as their lines keyed by name, for the pages they
// fill. Sections after the fourth that a file lacks stay empty.
class SavedProject final
{
public:
    // Reads the file at `path`; raises ProjectReadError.
    static SavedProject read(const QString &path);
    // Reads a file's bytes: UTF-8, or Windows-1252 when they are not valid
    // UTF-8. Raises ProjectReadError.
    static SavedProject parse(const QByteArray &bytes);

    // [prefrences]
    Cprefrences prefs;
    // The output page's success message as saved, "<br>" for each break.
    QString txt_success_message;
    QString mysql_table;
    QString primary_key;

    // [webpage]
    qint32 pagetype = 0;
    QString URL;
    QString path;
    qint16 nforms = 0;
    QString selected_form_title;
    bool is_date = false;
    qint32 date_format = 0;

    // [fields] and [blocked ips]
    std::shared_ptr<::fields> saved_fields = std::make_shared<::fields>();
    QStringList blocked_ips;

    // The later sections. The auto-responder's message lines come with
    // their line breaks, so that joined they give the message as typed.
    std::shared_ptr<StringCollection> email_settings = std::make_shared<StringCollection>();
    std::shared_ptr<StringCollection> auto_settings = std::make_shared<StringCollection>();
    std::shared_ptr<StringCollection> auto_message_lines = std::make_shared<StringCollection>();
    // The auto-response's message lines as the file holds them, for the
    // mail itself.
    QStringList auto_mail_lines;
    std::shared_ptr<StringCollection> csv_settings = std::make_shared<StringCollection>();
    std::shared_ptr<StringCollection> mysql_settings = std::make_shared<StringCollection>();
    // [pages]: its keyed values, and the owner mail's body as its lines.
    std::shared_ptr<StringCollection> page_settings = std::make_shared<StringCollection>();
    std::shared_ptr<StringCollection> email_message_lines = std::make_shared<StringCollection>();
    // [version]: the file's format, 1 for a file without it.
    qint32 format_version = 1;

    // Saved by a version that took a CSV separator text naming none of the
    // list's separators for a comma, with a text that this version takes
    // for another separator, or for none: its scripts wrote a comma.
    bool separator_read_as_comma() const;
    // The saved Separator text: what the CSV page shows.
    QString csv_separator() const;
    // Names the separator its scripts wrote, "comma", which every version
    // reads alike.
    void keep_comma_separator();

    // Puts the project into the model: the preferences, the table settings,
    // the page and form title, the saved fields, the banned addresses, the
    // two mails and the later sections' collections.
    void apply() const;

    // The saved text with each "<br>" as CR LF, as many as a value may hold.
    static QString line_breaks(const QString &text);
    // The font and colour [pages] holds under `prefix` ("alert" or
    // "message"); false, changing neither, when the file had no [pages].
    static bool saved_font(const StringCollection &page_settings, const QString &prefix, FontSpec &font, qint32 &color);
};
