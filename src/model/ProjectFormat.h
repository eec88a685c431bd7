#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <type_traits>

// What the project file's writer and reader share: section headers, the keys
// of the sections read by key (in the order they are written), and the text
// of Booleans and numbers.
namespace ProjectFormat {

inline const QString kPrefrences = QStringLiteral("[prefrences]");
inline const QString kWebpage = QStringLiteral("[webpage]");
inline const QString kFields = QStringLiteral("[fields]");
inline const QString kBlockedIps = QStringLiteral("[blocked ips]");
inline const QString kEmail = QStringLiteral("[email]");
inline const QString kAutoResponde = QStringLiteral("[auto-responde]");
inline const QString kCsv = QStringLiteral("[CSV]");
inline const QString kMySQL = QStringLiteral("[MySQL]");
// What the pages show beyond the sections above: the owner mail's IP box,
// both message bodies as typed and the fonts of the error alert and of the
// success message. It comes last, so a reader that stops after [MySQL]
// reads the rest of the file unchanged.
inline const QString kPages = QStringLiteral("[pages]");
// The file's format, after every other section for the same reason. A file
// without it is of format 1, saved by a version that took a CSV separator
// text naming none of the list's separators for a comma; from format 2 on
// one character stands for itself.
inline const QString kVersion = QStringLiteral("[version]");
constexpr qint32 kFormat = 2;

// The line before every section header but the first.
inline const QString kSeparator = QStringLiteral(" ");

const QStringList &prefrences_keys();
const QStringList &webpage_keys();
const QStringList &email_keys();
// Ends with "nLine", the number of message lines that follow.
const QStringList &auto_responde_keys();
const QStringList &csv_keys();
const QStringList &mysql_keys();
// The keyed lines of [pages]; the two bodies follow, each as a count line
// (kEmailLines, kAutoLines) and that many lines of text.
const QStringList &pages_keys();
// The keyed lines of [version].
const QStringList &version_keys();
inline const QString kEmailLines = QStringLiteral("email_nLine");
inline const QString kAutoLines = QStringLiteral("auto_nLine");

// What the MySQL page's database and table boxes show while they name
// nothing. Files of earlier versions hold them as names.
inline const QString kDatabasePrompt = QStringLiteral("Select a database or type its name");
inline const QString kTablePrompt = QStringLiteral("Select a table or type its name");
// A database or table name as the MySQL page or a file gives it; empty
// when it is one of the prompts above, also as spelt before or since
// (letter case, blanks at the ends and apostrophes aside).
QString mysql_name(const QString &text);

// The keys of [pages] for one of its two fonts ("alert" or "message"), in
// the order name, size, bold, italic, underline, strike-through, colour.
QStringList font_keys(const QString &prefix);

// Items of a field record before its MIME list.
constexpr int kFieldItems = 27;
// Line breaks a multi-line value may hold; each is stored as "<br>".
constexpr int kMaxLineBreaks = 120;
inline const QString kLineBreakMark = QStringLiteral("<br>");

QString boolean(bool value);
// The shortest text that reads back as the same number, with the decimal
// separator of the user's regional format.
QString real(double value);

// A value of the file as `T`, blanks around it allowed; none when the text
// is no such value. bool: "True" or "False" in any case; qint16 and qint32:
// a whole number within the type's range; double: a number with "." or ","
// as its decimal separator (never as a group separator).
template<typename T> std::optional<T> value_of(const QString &text);
template<> std::optional<bool> value_of(const QString &text);
template<> std::optional<qint16> value_of(const QString &text);
template<> std::optional<qint32> value_of(const QString &text);
template<> std::optional<double> value_of(const QString &text);
// What a text that is no value of `T` is instead, for messages.
template<typename T> QString not_a()
{
    return std::is_same_v<T, bool> ? QStringLiteral("not True or False") : QStringLiteral("not a number");
}

// The key of a key=value line: the text before the first "=", without the
// blanks around it; a line without "=" is its own key.
QString get_variable(const QString &line);
// The value of a key=value line: everything after the first "=", blanks
// included; a line without "=" gives itself without blanks at either end.
QString get_value(const QString &line);

} // namespace ProjectFormat
