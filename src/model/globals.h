#pragma once

#include "Collection.h"

#include <QString>
#include <QStringList>

#include <memory>

class CPHP_script;
class CSV;
class Cprefrences;
class Crecieving_vars;
class IPBanning;
class MYSQL_CONNECTION;
class Vcreditcard;
class cmail;
class connections;
class create_directory;
class db;
class fields;
class lib;
class sql;
class webpage;

// The shared settings objects and the project state of one run. Each object
// is created by its first read and then lives for the run; a caller may also
// replace it.
namespace globals {

std::shared_ptr<webpage> &web_page();
std::shared_ptr<cmail> &owner_mail();
std::shared_ptr<cmail> &auto_mail();
std::shared_ptr<CSV> &csv_file();
std::shared_ptr<CPHP_script> &php_script();
std::shared_ptr<Crecieving_vars> &rec_vars();
std::shared_ptr<Cprefrences> &prefs();
std::shared_ptr<create_directory> &dir_maker();
std::shared_ptr<Vcreditcard> &credit_card();
std::shared_ptr<IPBanning> &ip_banning();
std::shared_ptr<fields> &saved_fields();
std::shared_ptr<sql> &sql_script();
std::shared_ptr<lib> &lib_script();
std::shared_ptr<connections> &mysql_connections();
std::shared_ptr<db> &mysql_db();

// The open MySQL connection; set by connections::Connect and dropped by
// connections::disconnect (not created on first read).
inline std::shared_ptr<MYSQL_CONNECTION> mysql_conn;

// Lines of the sections of a reopened project.
std::shared_ptr<StringCollection> &email_settings();
std::shared_ptr<StringCollection> &auto_settings();
std::shared_ptr<StringCollection> &auto_message_lines();
std::shared_ptr<StringCollection> &csv_settings();
std::shared_ptr<StringCollection> &mysql_settings();
// What the pages showed beyond those sections (the owner mail's IP box and
// the fonts), and the owner mail's body as its lines.
std::shared_ptr<StringCollection> &page_settings();
std::shared_ptr<StringCollection> &email_message_lines();

inline qint16 reuse_recordset = 0;
inline bool is_convert_date = false;
inline QString project_save_path;
inline bool isConnect = false;
inline bool SuccessfullyConnected = false;
inline QString selected_form_title;
inline qint16 new_field_count = 0;
inline bool project_saved = false;
inline QString project_file;
inline bool project_error = false;

// Drops every shared object and resets the project state, as at start-up.
void reset();

// Removes blanks (spaces only) at both ends, as the project trims texts.
QString trim_blanks(const QString &text);

// The text with ASCII capitals in lower case and every other character as
// it stands, as HTML and PHP's strcasecmp compare without case.
QString ascii_lower(QString text);

// The parts of a text between "|" separators; an empty text gives none.
QStringList split_list(const QString &text);

// Removes one separator that ends the text, deletes every "*" and trims
// blanks at both ends.
QString remove_last_separator(const QString &text, const QString &separator);

// Deletes the characters that cannot stand in a PHP variable name taken from
// an element name.
QString remove_special_chars(const QString &text);

} // namespace globals
