#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

// An HTML page read as a browser reads it, reduced to what the form reader
// asks of a document: its forms in tree order (document.forms), each with its
// name, method and action as written, and each form's elements
// (form.elements) with their name and, for the elements that have one, their
// type as the DOM reports it.
//
// Elements belong to a form as in a browser: by nesting, by their form
// attribute, or through the parser's form element pointer (a form opened
// inside a table owns the controls of the later cells). input type=image is
// not among a form's elements. The page is read with scripting off, so a
// <noscript> block counts as markup, and <template> content is not part of
// the page.
class HtmlDocument final
{
public:
    struct Element
    {
        QString name;
        // input: its type, lower case, "text" when missing or unknown;
        // button: "submit", "reset" or "button"; textarea: "textarea".
        // select, fieldset, object and output have none.
        std::optional<QString> type;
        // Whether the element can post a value: a fieldset and an output
        // never do.
        bool posts = true;
        // Whether its markup lets a browser leave it out of a submission,
        // whatever its type: disabled (itself, or by a fieldset or datalist
        // around it), a select where no option need be chosen (multiple, a
        // list box, none enabled), an object.
        bool may_be_left_out = false;
    };

    struct Form
    {
        QString name;
        QString method;
        QString action;
        // The character set a browser submits the form in (Encoding
        // Standard name): the first encoding its accept-charset names, else
        // the page's; UTF-16 forms submit UTF-8.
        QByteArray encoding;
        // False when neither the form nor the page names it (see
        // HtmlEncoding::for_submission).
        bool encoding_declared = true;
        std::vector<Element> elements;
    };

    enum class Status {
        Read,
        // The parse passed its time or memory limit (pathological nesting).
        TooComplex,
        // The page is in an encoding that browsers refuse to read, or whose
        // tables this system lacks.
        Undecodable,
    };

    // Bounds for one page: the parser's memory, and its time, which grows
    // with the page's size.
    struct Limits
    {
        std::size_t memory = std::size_t(1) << 30;
        std::chrono::milliseconds time = std::chrono::seconds(2);
        std::chrono::milliseconds time_per_megabyte = std::chrono::milliseconds(500);
    };

    // Reads a page from its bytes; `http_charset` is the charset its HTTP
    // header named, if any.
    static HtmlDocument read(const QByteArray &page, const QByteArray &http_charset, const Limits &limits);
    static HtmlDocument read(const QByteArray &page, const QByteArray &http_charset = {});

    Status status() const { return m_status; }
    // Only of a document that outlives the use: a temporary's forms would
    // dangle.
    const std::vector<Form> &forms() const & { return m_forms; }
    const std::vector<Form> &forms() const && = delete;
    // The character set the page was decoded with (or, if it could not be,
    // would have been), as the Encoding Standard names it.
    const QByteArray &encoding() const { return m_encoding; }
    // The label that named that character set, as the page or its server
    // wrote it; empty when it was found without one.
    const QByteArray &label() const { return m_label; }

private:
    Status m_status = Status::Read;
    std::vector<Form> m_forms;
    QByteArray m_encoding;
    QByteArray m_label;
};
