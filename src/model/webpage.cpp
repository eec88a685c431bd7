#include "webpage.h"

#include "BesideEventLoop.h"
#include "HtmlEncoding.h"
#include "PageLoader.h"
#include "globals.h"

#include <QDebug>
#include <QPointer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QUrl>

#include <new>

namespace {

// A deep stack copes with deeply nested pages.
constexpr uint kReaderStack = 64u << 20;
constexpr qsizetype kMostForms = 32767; // the form counter is 16 bits wide
// Far more than any form has; each field takes about 1.5 KB, so a huge page
// of controls would otherwise take gigabytes.
constexpr std::size_t kMostElements = 50000;

webpage::MessageFunction &message_function()
{
    static webpage::MessageFunction function;
    return function;
}

// A notice: OK button, information icon.
void notify(const QString &text)
{
    if (const auto &show = message_function())
        show(text, 1, 3);
    else
        qInfo().noquote() << text;
}

// What loading and parsing a page gave: the document, or the message that
// says why there is none.
struct Reading
{
    HtmlDocument document;
    QString failure;
};

QString not_loaded(const QString &reason)
{
    return QStringLiteral("The page could not be loaded: ") + reason;
}

void parse(const QByteArray &page, const QByteArray &charset, const HtmlDocument::Limits &limits, Reading &reading)
{
    try {
        reading.document = HtmlDocument::read(page, charset, limits);
        switch (reading.document.status()) {
        case HtmlDocument::Status::Read:
            break;
        case HtmlDocument::Status::TooComplex:
            reading.failure
                = QStringLiteral("The page could not be read: its HTML is nested too deeply or is too complex.");
            return;
        case HtmlDocument::Status::Undecodable: {
            const HtmlDocument &document = reading.document;
            const QString charset = QLatin1Char('"')
                + QString::fromLatin1(document.label().isEmpty() ? document.encoding() : document.label())
                + QLatin1Char('"');
            reading.failure = not_loaded(document.encoding() == HtmlEncoding::replacement
                    ? QStringLiteral("its character set %1 is one that browsers refuse to read.").arg(charset)
                    : QStringLiteral("its character set %1 cannot be decoded on this computer.").arg(charset));
            return;
        }
        }
        std::size_t elements = 0;
        for (const HtmlDocument::Form &form : reading.document.forms())
            elements += form.elements.size();
        if (elements > kMostElements) {
            reading.failure = QStringLiteral("The page could not be read: its forms hold more than %1 elements, "
                                             "more than a form can use.")
                                  .arg(kMostElements);
            reading.document = HtmlDocument();
        }
    } catch (const std::bad_alloc &) {
        reading.failure = QStringLiteral("The page could not be read: there is not enough memory.");
    }
}

// The method as a browser's DOM reports it: "get", "post" or "dialog" when
// the attribute is one of them, whatever its case; "get" when it is missing
// or anything else.
QString dom_method(const QString &written)
{
    // Only ASCII letters match without regard to case: "ſ" is no "s" here.
    const QString method = globals::ascii_lower(written);
    if (method == QLatin1String("post") || method == QLatin1String("dialog"))
        return method;
    return QStringLiteral("get");
}

QString method_for(const QString &written)
{
    // A dialog form sends nothing to any server: pointed at the script, it
    // must be given a method, and one that posts is what the script expects
    // (uploads need it, and the values stay out of addresses and logs).
    return dom_method(written) == QLatin1String("get") ? QStringLiteral("GET") : QStringLiteral("POST");
}

// Names PHP gives a meaning of its own; a field must not overwrite them.
bool is_reserved(const QString &name)
{
    static const QStringList reserved = {
        QStringLiteral("this"),
        QStringLiteral("GLOBALS"),
        QStringLiteral("_POST"),
        QStringLiteral("_GET"),
        QStringLiteral("_FILES"),
        QStringLiteral("_SERVER"),
        QStringLiteral("_COOKIE"),
        QStringLiteral("_REQUEST"),
        QStringLiteral("_ENV"),
        QStringLiteral("_SESSION"),
        QStringLiteral("argv"),
        QStringLiteral("argc"),
        QStringLiteral("php_errormsg"),
        QStringLiteral("http_response_header"),
    };
    return reserved.contains(name);
}

// The field's name made a PHP variable of its own: only letters, digits,
// "_" and non-ASCII characters, no leading digit, none of PHP's own names
// and not the generated script's prefix "tsl_". Empty when nothing is left.
QString php_variable(QString name)
{
    name.removeIf([](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x80 && !((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_');
    });
    if (name.isEmpty())
        return name;
    if (name.at(0).unicode() >= '0' && name.at(0).unicode() <= '9')
        name.prepend(QLatin1Char('_'));
    if (is_reserved(name))
        name.append(QLatin1Char('_'));
    if (name.startsWith(QLatin1String("tsl_")))
        name.prepend(QLatin1Char('_'));
    return name;
}

QString error_html(const QString &name)
{
    return QStringLiteral("<p align=\\\"center\\\"><font size=\\\"4\\\" face=\\\"Vrinda\\\" color=\\\"#FF0000\\\">"
                          "please enter a valid ")
        + name + QStringLiteral(" </font></p>");
}

Field field_for(const HtmlDocument::Element &element)
{
    Field field;
    const QString &raw = element.name;
    if (raw.contains(QLatin1Char(' '))) {
        field.name = raw;
        field.name.replace(QLatin1Char(' '), QLatin1Char('_'));
        // The name PHP receives: it drops the blanks a name begins with.
        qsizetype first = 0;
        while (first < raw.size() && raw.at(first) == QLatin1Char(' '))
            ++first;
        field.post_name = field.name.mid(first);
    } else {
        field.name = globals::remove_special_chars(raw);
        field.post_name = raw;
    }
    // A name ending in "[]" posts an array (a checkbox group, a multiple
    // select): whatever the element, its value arrives as a list.
    if (element.type && !field.name.endsWith(QLatin1String("[]"))) {
        field.field_type = *element.type;
    } else if (field.name.contains(QLatin1String("[]"))) {
        field.name.remove(QLatin1Char('['));
        field.name.remove(QLatin1Char(']'));
        field.field_type = QStringLiteral("multi select");
    } else {
        field.field_type = QStringLiteral("not specified");
    }
    // The default alerts name a list without its brackets.
    field.error_message = QStringLiteral("Please enter a valid ") + field.name.toLower();
    field.error_html = error_html(field.name);
    field.name = php_variable(field.name);
    field.may_be_left_out = element.may_be_left_out;
    return field;
}

} // namespace

const std::shared_ptr<StringCollection> &webpage::blocked_ips()
{
    if (!m_blocked_ips)
        m_blocked_ips = std::make_shared<StringCollection>();
    return m_blocked_ips;
}

void webpage::set_message_function(MessageFunction function)
{
    message_function() = std::move(function);
}

void webpage::ReadForms()
{
    if (m_reading)
        return;
    m_reading = true;
    const QPointer<webpage> alive(this);
    const auto done = qScopeGuard([&] {
        if (alive)
            m_reading = false;
    });

    auto collected = std::make_shared<Forms>();
    forms = collected;

    // Everything the reading needs is copied here: while it waits, other
    // handlers run and may change or even delete this page object.
    const PageLoader loader(load_timeout, max_page_size);
    const HtmlDocument::Limits limits = parse_limits;
    Reading reading;
    QString file;
    QUrl address;
    if (pagetype == 0) {
        file = path;
    } else {
        const QString text = URL.trimmed();
        // An address with its scheme is taken as written: QUrl::fromUserInput
        // would read one with a bad port ("http://host:65536/") as a host
        // named "http".
        static const QRegularExpression with_scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
        address = with_scheme.match(text).hasMatch() ? QUrl(text) : QUrl::fromUserInput(text);
        if (text.isEmpty())
            reading.failure = not_loaded(QStringLiteral("no web address was given."));
        else if (!address.isValid())
            reading.failure = not_loaded(QLatin1Char('"') + text + QStringLiteral("\" is not a valid web address."));
        else if (address.isLocalFile())
            file = address.toLocalFile();
        else if (address.scheme() != QLatin1String("http") && address.scheme() != QLatin1String("https"))
            reading.failure = not_loaded(QLatin1Char('"') + text
                + QStringLiteral("\" is not the address of a web page (it must begin "
                                 "with http:// or https://)."));
    }

    if (reading.failure.isEmpty()) {
        if (pagetype == 0 || address.isLocalFile()) {
            run_beside_event_loop(
                [&] {
                    const PageLoader::Page page = loader.read_file(file);
                    if (!page.failure.isEmpty()) {
                        reading.failure = not_loaded(page.failure);
                        return;
                    }
                    parse(page.bytes, page.charset, limits, reading);
                },
                kReaderStack);
        } else {
            const PageLoader::Page page = loader.fetch(address);
            if (!page.failure.isEmpty()) {
                reading.failure = not_loaded(page.failure);
            } else if (alive) {
                run_beside_event_loop([&] { parse(page.bytes, page.charset, limits, reading); }, kReaderStack);
            }
        }
    }
    if (!alive)
        return;
    if (!reading.failure.isEmpty()) {
        notify(reading.failure);
        // A message box runs its own event loop, in which this object may go.
        if (alive)
            emit LoadFailed();
        return;
    }

    try {
        for (const HtmlDocument::Form &form : reading.document.forms()) {
            if (collected->Count() == kMostForms) {
                notify(QStringLiteral("The page holds more than %1 forms, more than can be listed.").arg(kMostForms));
                return;
            }
            CForm frm;
            frm.set_FormName(form.name);
            frm.set_Method(method_for(form.method));
            frm.set_Action(form.action);
            frm.encoding = form.encoding;
            frm.encoding_declared = form.encoding_declared;
            const qsizetype n = collected->Count() + 1;
            collected->Addform(frm, QStringLiteral("Form") + QString::number(n));
            const std::shared_ptr<fields> &into = collected->Item(n)->fields();
            for (const HtmlDocument::Element &element : form.elements) {
                // A group box or a computed result posts nothing: no field.
                if (!element.posts)
                    continue;
                Field field = field_for(element);
                into->Add(field, field.name);
            }
        }
    } catch (const std::bad_alloc &) {
        notify(QStringLiteral("There is not enough memory to read the page's forms."));
        return;
    } catch (const std::exception &error) {
        notify(QString::fromLocal8Bit(error.what()));
        return;
    }
    nforms = qint16(collected->Count());
    emit FinishReading();
}
