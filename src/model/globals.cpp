#include "globals.h"

#include "Cprefrences.h"
#include "fields.h"
#include "webpage.h"

#include "generate/CPHP_script.h"
#include "generate/CSV.h"
#include "generate/Crecieving_vars.h"
#include "generate/IPBanning.h"
#include "generate/Vcreditcard.h"
#include "generate/cmail.h"
#include "generate/create_directory.h"
#include "generate/db.h"
#include "generate/lib.h"
#include "generate/sql.h"
#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/connections.h"

namespace globals {

namespace {

struct Shared
{
    std::shared_ptr<webpage> web_page;
    std::shared_ptr<cmail> owner_mail;
    std::shared_ptr<cmail> auto_mail;
    std::shared_ptr<CSV> csv_file;
    std::shared_ptr<CPHP_script> php_script;
    std::shared_ptr<Crecieving_vars> rec_vars;
    std::shared_ptr<Cprefrences> prefs;
    std::shared_ptr<create_directory> dir_maker;
    std::shared_ptr<Vcreditcard> credit_card;
    std::shared_ptr<IPBanning> ip_banning;
    std::shared_ptr<fields> saved_fields;
    std::shared_ptr<sql> sql_script;
    std::shared_ptr<lib> lib_script;
    std::shared_ptr<connections> mysql_connections;
    std::shared_ptr<db> mysql_db;
    std::shared_ptr<StringCollection> email_settings;
    std::shared_ptr<StringCollection> auto_settings;
    std::shared_ptr<StringCollection> auto_message_lines;
    std::shared_ptr<StringCollection> csv_settings;
    std::shared_ptr<StringCollection> mysql_settings;
    std::shared_ptr<StringCollection> page_settings;
    std::shared_ptr<StringCollection> email_message_lines;
};

Shared &shared()
{
    static Shared instance;
    return instance;
}

template<typename T> std::shared_ptr<T> &created(std::shared_ptr<T> &slot)
{
    if (!slot)
        slot = std::make_shared<T>();
    return slot;
}

} // namespace

std::shared_ptr<webpage> &web_page()
{
    return created(shared().web_page);
}
std::shared_ptr<cmail> &owner_mail()
{
    return created(shared().owner_mail);
}
std::shared_ptr<cmail> &auto_mail()
{
    return created(shared().auto_mail);
}
std::shared_ptr<CSV> &csv_file()
{
    return created(shared().csv_file);
}
std::shared_ptr<CPHP_script> &php_script()
{
    return created(shared().php_script);
}
std::shared_ptr<Crecieving_vars> &rec_vars()
{
    return created(shared().rec_vars);
}
std::shared_ptr<Cprefrences> &prefs()
{
    return created(shared().prefs);
}
std::shared_ptr<create_directory> &dir_maker()
{
    return created(shared().dir_maker);
}
std::shared_ptr<Vcreditcard> &credit_card()
{
    return created(shared().credit_card);
}
std::shared_ptr<IPBanning> &ip_banning()
{
    return created(shared().ip_banning);
}
std::shared_ptr<fields> &saved_fields()
{
    return created(shared().saved_fields);
}
std::shared_ptr<sql> &sql_script()
{
    return created(shared().sql_script);
}
std::shared_ptr<lib> &lib_script()
{
    return created(shared().lib_script);
}
std::shared_ptr<connections> &mysql_connections()
{
    return created(shared().mysql_connections);
}
std::shared_ptr<db> &mysql_db()
{
    return created(shared().mysql_db);
}
std::shared_ptr<StringCollection> &email_settings()
{
    return created(shared().email_settings);
}
std::shared_ptr<StringCollection> &auto_settings()
{
    return created(shared().auto_settings);
}
std::shared_ptr<StringCollection> &auto_message_lines()
{
    return created(shared().auto_message_lines);
}
std::shared_ptr<StringCollection> &csv_settings()
{
    return created(shared().csv_settings);
}
std::shared_ptr<StringCollection> &mysql_settings()
{
    return created(shared().mysql_settings);
}

std::shared_ptr<StringCollection> &page_settings()
{
    return created(shared().page_settings);
}
std::shared_ptr<StringCollection> &email_message_lines()
{
    return created(shared().email_message_lines);
}

void reset()
{
    shared() = Shared();
    mysql_conn.reset();
    reuse_recordset = 0;
    is_convert_date = false;
    project_save_path.clear();
    isConnect = false;
    SuccessfullyConnected = false;
    selected_form_title.clear();
    new_field_count = 0;
    project_saved = false;
    project_file.clear();
    project_error = false;
}

QString trim_blanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString ascii_lower(QString text)
{
    for (QChar &c : text) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}

QStringList split_list(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('|'));
}

QString remove_last_separator(const QString &text, const QString &separator)
{
    const QLatin1Char star('*');
    QString result = text + star;
    result.replace(separator + star, QString());
    result = trim_blanks(result);
    result.remove(star);
    return trim_blanks(result);
}

QString remove_special_chars(const QString &text)
{
    static const QString removed = QStringLiteral("!@#$%^&*`+-=\\/|?><.,'():");
    QString result = text;
    for (const QChar c : removed)
        result.remove(c);
    return result;
}

} // namespace globals
