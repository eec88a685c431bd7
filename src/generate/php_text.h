#pragma once

#include <QString>
#include <QStringList>

class Field;

// Pieces of PHP text shared by the generators.
namespace php_text {

// Every generated line ends with CR LF.
inline const QString CRLF = QStringLiteral("\r\n");

QString line(const QString &text);
QString lines(const QStringList &texts);

// What a failed check does: redirect to the error page, or end with the
// field's error text when the result page is embedded (with
// `fallback_html` when the field has none and one is given).
QString failure_block(const Field &field, const QString &fallback_html = QString());
// The form's own failure answer, with no field to blame: redirect to the
// error page, or end with the text of the PHP `expression` when the
// result page is embedded.
QString form_failure(const QString &expression);
// Ends the script with the text of the PHP `expression`, followed by the
// footer when the embedded result page has one, as the success answer is.
QString answer_and_stop(const QString &expression);
// The line that includes the embedded result page's footer.
QString footer_include();
// Hands a step's failure to the script's failure function: `reason` is a
// PHP expression, logged, and shown when `shown`.
QString failed(const QString &reason, bool shown);
// "{", the failure block and "}", closing the condition of every check.
QString check_body(const Field &field, const QString &fallback_html = QString());
// A rule's checks, run only when the visitor entered something: an empty
// value is the required test's to judge. No checks give no text.
QString when_entered(const QString &name, const QString &checks);

// Text for inside a double-quoted PHP string: nothing in it is interpolated
// or ends the string.
QString literal(const QString &text);
// As literal(), but keeps backslash escapes the user meant (for example an
// end-of-line text such as \r\n).
QString literal_keeping_escapes(const QString &text);
// As literal(), for HTML that may already carry \" escapes.
QString literal_html(const QString &text);
// Text for inside a single-quoted PHP string.
QString single_quoted(const QString &text);

// The keys PHP stores a posted name under: leading blanks dropped, " " and
// "." before the first "[" turned into "_", each "[key]" an array key, and an
// empty "[]" ending the keys (the value is then the array itself).
QStringList request_keys(const QString &posted_name);
// The expression that reads a posted name from `array_name` ("_POST", "_GET"
// or "_FILES"); `entry` ("name", "size", ...) follows the first key, where
// PHP puts the parts of an upload.
QString request_item(const QString &array_name, const QString &posted_name, const QString &entry = QString());

// The shortest plain decimal text of a number, without exponent.
QString number(double value);

} // namespace php_text
