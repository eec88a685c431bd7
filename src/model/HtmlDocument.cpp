#include "HtmlDocument.h"

#include "GumboArena.h"
#include "HtmlDocumentText.h"
#include "HtmlEncoding.h"

#include <QStringList>

#include <gumbo.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

using Offset = std::size_t;
constexpr Offset kNowhere = std::string_view::npos;

struct Span
{
    Offset begin;
    Offset end;
};

bool is_space(char c)
{
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

bool is_alpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

const char *attribute(const GumboElement &element, const char *name)
{
    const GumboAttribute *found = gumbo_get_attribute(&element.attributes, name);
    return found ? found->value : nullptr;
}

QByteArray ascii_lower(const char *text)
{
    QByteArray result(text);
    for (char &c : result)
        c = lower(c);
    return result;
}

// The type the DOM reports for an element, where it has one.
std::optional<QString> type_of(const GumboElement &element)
{
    static const QStringList input_types = {
        QStringLiteral("hidden"),
        QStringLiteral("text"),
        QStringLiteral("search"),
        QStringLiteral("tel"),
        QStringLiteral("url"),
        QStringLiteral("email"),
        QStringLiteral("password"),
        QStringLiteral("date"),
        QStringLiteral("month"),
        QStringLiteral("week"),
        QStringLiteral("time"),
        QStringLiteral("datetime-local"),
        QStringLiteral("number"),
        QStringLiteral("range"),
        QStringLiteral("color"),
        QStringLiteral("checkbox"),
        QStringLiteral("radio"),
        QStringLiteral("file"),
        QStringLiteral("submit"),
        QStringLiteral("image"),
        QStringLiteral("reset"),
        QStringLiteral("button"),
    };
    static const QStringList button_types = {
        QStringLiteral("submit"),
        QStringLiteral("reset"),
        QStringLiteral("button"),
    };
    const auto known = [&element](const QStringList &types, qsizetype fallback) {
        if (const char *value = attribute(element, "type")) {
            const QByteArray wanted = ascii_lower(value);
            for (const QString &type : types) {
                if (type == QLatin1String(wanted))
                    return type;
            }
        }
        return types.at(fallback);
    };
    switch (element.tag) {
    case GUMBO_TAG_INPUT:
        return known(input_types, 1);
    case GUMBO_TAG_BUTTON:
        return known(button_types, 0);
    case GUMBO_TAG_TEXTAREA:
        return QStringLiteral("textarea");
    default:
        return std::nullopt;
    }
}

bool is_html(const GumboNode &node, GumboTag tag)
{
    return node.type == GUMBO_NODE_ELEMENT && node.v.element.tag == tag
        && node.v.element.tag_namespace == GUMBO_NAMESPACE_HTML;
}

// The child of a disabled fieldset whose content the fieldset leaves
// enabled: its first legend, if any.
const GumboNode *first_legend(const GumboElement &fieldset)
{
    for (unsigned i = 0; i < fieldset.children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(fieldset.children.data[i]);
        if (is_html(*child, GUMBO_TAG_LEGEND))
            return child;
    }
    return nullptr;
}

// Whether a select always has an option to submit: a drop-down box (not
// multiple, a display size of at most 1) whose chosen option, the last one
// marked selected or else the first the visitor may choose, is enabled.
bool always_has_choice(const GumboElement &select)
{
    if (attribute(select, "multiple"))
        return false;
    if (const char *size = attribute(select, "size")) {
        // Read as a non-negative integer: blanks, a "+", digits; a value
        // that is none leaves the drop-down box.
        const char *c = size + std::strspn(size, " \t\n\f\r");
        c += *c == '+';
        c += std::strspn(c, "0");
        const std::size_t digits = std::strspn(c, "0123456789");
        if (digits > 1 || (digits == 1 && *c > '1'))
            return false;
    }
    // Its options: children, and children of its option groups.
    std::optional<bool> selected;
    bool any_enabled = false;
    const auto take = [&](const GumboNode &option, bool group_disabled) {
        const bool enabled = !group_disabled && !attribute(option.v.element, "disabled");
        any_enabled = any_enabled || enabled;
        if (attribute(option.v.element, "selected"))
            selected = enabled;
    };
    for (unsigned i = 0; i < select.children.length; ++i) {
        const GumboNode &child = *static_cast<const GumboNode *>(select.children.data[i]);
        if (is_html(child, GUMBO_TAG_OPTION)) {
            take(child, false);
        } else if (is_html(child, GUMBO_TAG_OPTGROUP)) {
            const bool disabled = attribute(child.v.element, "disabled");
            for (unsigned j = 0; j < child.v.element.children.length; ++j) {
                const GumboNode &option = *static_cast<const GumboNode *>(child.v.element.children.data[j]);
                if (is_html(option, GUMBO_TAG_OPTION))
                    take(option, disabled);
            }
        }
    }
    return selected.value_or(any_enabled);
}

// Whether a browser may leave the control out of a submission whatever its
// type: a disabled control (`barred`: by a fieldset around it, or standing in
// a datalist, whose controls are never submitted), a select with no option it
// must submit, and an object, which submits nothing.
bool may_be_left_out(const GumboElement &element, bool barred)
{
    return barred || attribute(element, "disabled") || element.tag == GUMBO_TAG_OBJECT
        || (element.tag == GUMBO_TAG_SELECT && !always_has_choice(element));
}

// Finds "</form>" end tags in the source as the tokenizer sees them in its
// data state: not inside comments, attribute values or other markup. Spans
// the tokenizer read in another state (raw text, CDATA), or where an end
// tag cannot concern the form element pointer (select, template), are
// jumped over.
class FormEndTagScanner
{
public:
    FormEndTagScanner(std::string_view text, std::vector<Span> skipped)
        : m_text(text)
        , m_skipped(merged(std::move(skipped)))
    { }

    // The first </form> tag that starts in [from, until), or kNowhere;
    // after() is then where the tag ends.
    Offset find(Offset from, Offset until)
    {
        const Offset n = m_text.size();
        auto next = std::lower_bound(
            m_skipped.begin(), m_skipped.end(), from, [](const Span &span, Offset at) { return span.end <= at; });
        Offset at = from;
        while (at < until && at < n) {
            while (next != m_skipped.end() && next->end <= at)
                ++next;
            Offset stop = n;
            if (next != m_skipped.end()) {
                if (next->begin <= at) {
                    at = next->end;
                    continue;
                }
                stop = next->begin;
            }
            const void *found = std::memchr(m_text.data() + at, '<', stop - at);
            if (!found) {
                at = stop;
                continue;
            }
            at = static_cast<const char *>(found) - m_text.data();
            if (at >= until)
                break;
            bool form_end = false;
            const Offset after = markup_end(at, form_end);
            if (form_end) {
                m_after = after;
                return at;
            }
            at = after;
        }
        return kNowhere;
    }

    Offset after() const { return m_after; }

private:
    static std::vector<Span> merged(std::vector<Span> spans)
    {
        std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.begin < b.begin; });
        std::vector<Span> result;
        for (const Span &span : spans) {
            if (span.end <= span.begin)
                continue;
            if (!result.empty() && span.begin <= result.back().end)
                result.back().end = std::max(result.back().end, span.end);
            else
                result.push_back(span);
        }
        return result;
    }

    Offset after_char(char wanted, Offset from) const
    {
        const Offset found = m_text.find(wanted, from);
        return found == kNowhere ? m_text.size() : found + 1;
    }

    // Where the markup that starts with the "<" at `at` ends.
    Offset markup_end(Offset at, bool &form_end) const
    {
        const std::string_view t = m_text;
        const Offset n = t.size();
        if (at + 1 >= n)
            return n;
        const char next = t[at + 1];
        if (next == '!') {
            if (t.substr(at + 2, 2) == "--")
                return comment_end(at + 4);
            // DOCTYPE, and CDATA or any other "<!" outside foreign content,
            // end at the first ">".
            return after_char('>', at + 2);
        }
        if (next == '?')
            return after_char('>', at + 2);
        if (next == '/') {
            if (at + 2 >= n)
                return n;
            if (t[at + 2] == '>')
                return at + 3;
            if (!is_alpha(t[at + 2]))
                return after_char('>', at + 2);
            const Offset name_end = tag_name_end(at + 2);
            const Offset end = tag_end(name_end);
            if (end == kNowhere)
                return n; // a tag cut off by the end of the page is dropped
            form_end = name_end - (at + 2) == 4 && lower(t[at + 2]) == 'f' && lower(t[at + 3]) == 'o'
                && lower(t[at + 4]) == 'r' && lower(t[at + 5]) == 'm';
            return end;
        }
        if (is_alpha(next)) {
            const Offset end = tag_end(tag_name_end(at + 1));
            return end == kNowhere ? n : end;
        }
        return at + 1; // a "<" that starts no markup is text
    }

    Offset comment_end(Offset from) const
    {
        const std::string_view t = m_text;
        if (from < t.size() && t[from] == '>')
            return from + 1; // <!-->
        if (t.substr(from, 2) == "->")
            return from + 2; // <!--->
        for (Offset dashes = t.find("--", from); dashes != kNowhere; dashes = t.find("--", dashes + 1)) {
            if (t.substr(dashes + 2, 1) == ">")
                return dashes + 3;
            if (t.substr(dashes + 2, 2) == "!>")
                return dashes + 4;
        }
        return t.size();
    }

    Offset tag_name_end(Offset from) const
    {
        Offset at = from;
        while (at < m_text.size() && !is_space(m_text[at]) && m_text[at] != '/' && m_text[at] != '>')
            ++at;
        return at;
    }

    // From the end of a tag's name to just after its ">", through its
    // attributes; kNowhere when the page ends first.
    Offset tag_end(Offset from) const
    {
        enum class State { BeforeName, Name, AfterName, BeforeValue, Unquoted, AfterQuoted };
        State state = State::BeforeName;
        const std::string_view t = m_text;
        for (Offset at = from; at < t.size(); ++at) {
            const char c = t[at];
            switch (state) {
            case State::BeforeName:
                if (c == '>')
                    return at + 1;
                if (!is_space(c) && c != '/')
                    state = State::Name;
                break;
            case State::Name:
                if (c == '>')
                    return at + 1;
                if (is_space(c))
                    state = State::AfterName;
                else if (c == '/')
                    state = State::BeforeName;
                else if (c == '=')
                    state = State::BeforeValue;
                break;
            case State::AfterName:
                if (c == '>')
                    return at + 1;
                if (c == '/')
                    state = State::BeforeName;
                else if (c == '=')
                    state = State::BeforeValue;
                else if (!is_space(c))
                    state = State::Name;
                break;
            case State::BeforeValue:
                if (c == '>')
                    return at + 1;
                if (c == '"' || c == '\'') {
                    const Offset close = t.find(c, at + 1);
                    if (close == kNowhere)
                        return kNowhere;
                    at = close;
                    state = State::AfterQuoted;
                } else if (!is_space(c)) {
                    state = State::Unquoted;
                }
                break;
            case State::Unquoted:
                if (c == '>')
                    return at + 1;
                if (is_space(c))
                    state = State::BeforeName;
                break;
            case State::AfterQuoted:
                if (c == '>')
                    return at + 1;
                state = (is_space(c) || c == '/') ? State::BeforeName : State::Name;
                break;
            }
        }
        return kNowhere;
    }

    std::string_view m_text;
    std::vector<Span> m_skipped;
    Offset m_after = 0;
};

// What the reader needs of a parsed page, gathered in one walk of the tree,
// and the owner of each listed element worked out from it.
class FormTree
{
public:
    FormTree(const GumboOutput &output, const HtmlDocumentText &text, bool want_meta)
        : m_source(text)
        , m_text(text.text())
        , m_want_meta(want_meta)
    {
        walk(*output.document);
    }

    // The charset label of the page's first <meta> that names one, when one
    // was wanted.
    const QByteArray &meta_label() const { return m_meta_label; }

    // The forms, each submitted in the page's encoding unless its
    // accept-charset names another.
    std::vector<HtmlDocument::Form> forms(const QByteArray &page_encoding, bool page_declared) const
    {
        std::vector<HtmlDocument::Form> result(m_forms.size());
        for (std::size_t k = 0; k < m_forms.size(); ++k) {
            result[k].name = text_of(*m_forms[k], "name");
            result[k].method = text_of(*m_forms[k], "method");
            result[k].action = text_of(*m_forms[k], "action");
            const HtmlEncoding::Submission submission = HtmlEncoding::for_submission(
                page_encoding, page_declared, text_of(*m_forms[k], "accept-charset").toUtf8());
            result[k].encoding = submission.encoding;
            result[k].encoding_declared = submission.declared;
        }
        if (m_forms.empty())
            return result;
        const Pointer pointer = form_pointer();
        for (const Control &control : m_controls) {
            const int form = owner(control, pointer);
            if (form < 0)
                continue;
            std::optional<QString> type = type_of(*control.element);
            if (control.element->tag == GUMBO_TAG_INPUT && type == QLatin1String("image"))
                continue;
            const GumboTag tag = control.element->tag;
            result[form].elements.push_back({ text_of(*control.element, "name"), std::move(type),
                tag != GUMBO_TAG_FIELDSET && tag != GUMBO_TAG_OUTPUT,
                may_be_left_out(*control.element, control.barred) });
        }
        return result;
    }

private:
    struct Control
    {
        const GumboElement *element;
        int ancestor_form; // index into m_forms, or -1
        // Moved by the parser after it was made (misnested formatting tags):
        // a browser then takes the nearest form around it as its owner.
        bool moved;
        // Disabled by a fieldset around it, or in a datalist.
        bool barred;
    };

    // When the parser's form element pointer pointed at each form: from the
    // form's start tag up to the first </form> tag that the parser handled
    // (which clears the pointer, whether or not it closes the form), or up
    // to the next form's start tag.
    struct Pointer
    {
        std::vector<int> by_start; // form indexes in source order
        std::vector<Offset> end; // per form index
    };

    Offset start(int form) const { return m_forms[form]->start_pos.offset; }

    void walk(const GumboNode &document)
    {
        struct Frame
        {
            const GumboNode *node;
            int form;
            bool moved;
            bool barred;
        };
        std::vector<Frame> stack;
        // `kept`: a child barred as `kept_barred` says, not as its siblings.
        const auto push_children = [&stack](const GumboVector &children, int form, bool moved, bool barred,
                                       const GumboNode *kept = nullptr, bool kept_barred = false) {
            for (unsigned i = children.length; i-- > 0;) {
                const auto *child = static_cast<const GumboNode *>(children.data[i]);
                stack.push_back({ child, form, moved, child == kept ? kept_barred : barred });
            }
        };
        push_children(document.v.document.children, -1, false, false);
        while (!stack.empty()) {
            const Frame frame = stack.back();
            stack.pop_back();
            const GumboNode &node = *frame.node;
            if (node.type == GUMBO_NODE_CDATA) {
                const Offset begin = node.v.text.start_pos.offset;
                m_skipped.push_back({ begin, begin + node.v.text.original_text.length });
                continue;
            }
            if (node.type != GUMBO_NODE_ELEMENT && node.type != GUMBO_NODE_TEMPLATE)
                continue;
            // Gumbo still expands the obsolete <isindex> into a form of its
            // own; browsers no longer do.
            if (node.parse_flags & GUMBO_INSERTION_FROM_ISINDEX)
                continue;
            const GumboElement &element = node.v.element;
            if (const char *id = attribute(element, "id"); id && *id)
                m_ids.push_back({ id, &element });
            if (node.type == GUMBO_NODE_TEMPLATE) {
                m_skipped.push_back(element_span(element));
                continue;
            }
            int form = frame.form;
            const bool moved = frame.moved || holds_moved_content(node);
            if (element.tag_namespace != GUMBO_NAMESPACE_HTML) {
                // An SVG or MathML <form> takes the </form> that closes it.
                if (element.tag == GUMBO_TAG_FORM && element.original_end_tag.length > 0)
                    m_foreign_form_ends.push_back(element.end_pos.offset);
                push_children(element.children, form, moved, frame.barred);
                continue;
            }
            const Control control { &element, form, moved || (node.parse_flags & GUMBO_INSERTION_ADOPTION_AGENCY_MOVED),
                frame.barred };
            switch (element.tag) {
            case GUMBO_TAG_FORM:
                form = int(m_forms.size());
                m_forms.push_back(&element);
                break;
            case GUMBO_TAG_SELECT:
                m_skipped.push_back(element_span(element));
                m_controls.push_back(control);
                break;
            case GUMBO_TAG_TEXTAREA:
                skip_raw_text(element);
                m_controls.push_back(control);
                break;
            case GUMBO_TAG_INPUT:
            case GUMBO_TAG_BUTTON:
            case GUMBO_TAG_FIELDSET:
            case GUMBO_TAG_OBJECT:
            case GUMBO_TAG_OUTPUT:
                m_controls.push_back(control);
                break;
            case GUMBO_TAG_SCRIPT:
            case GUMBO_TAG_STYLE:
            case GUMBO_TAG_XMP:
            case GUMBO_TAG_IFRAME:
            case GUMBO_TAG_NOEMBED:
            case GUMBO_TAG_NOFRAMES:
            case GUMBO_TAG_TITLE:
            case GUMBO_TAG_PLAINTEXT:
                skip_raw_text(element);
                break;
            case GUMBO_TAG_META:
                if (m_want_meta && m_meta_label.isEmpty())
                    m_meta_label = meta_label(element);
                break;
            default:
                break;
            }
            if (element.tag == GUMBO_TAG_DATALIST)
                push_children(element.children, form, moved, true);
            else if (element.tag == GUMBO_TAG_FIELDSET && attribute(element, "disabled"))
                push_children(element.children, form, moved, true, first_legend(element), frame.barred);
            else
                push_children(element.children, form, moved, frame.barred);
        }
    }

    // Misnested formatting tags (<b><div>...</b>) make the parser move the
    // block out of the formatting element and put a copy of that element,
    // holding everything the block held, as the block's first child. All
    // that copy holds was moved; whatever the block gets later was not.
    // (Copies made for formatting elements between the two are moved too,
    // but as the parents of the block, never as its first child.) Below
    // more than eight nested blocks the parser leaves the last copy open, and
    // what it gets later is then taken as moved as well.
    static bool holds_moved_content(const GumboNode &node)
    {
        constexpr unsigned cloned = GUMBO_INSERTION_ADOPTION_AGENCY_CLONED;
        constexpr unsigned moved = GUMBO_INSERTION_ADOPTION_AGENCY_MOVED;
        const GumboNode *parent = node.parent;
        return (node.parse_flags & cloned) && node.index_within_parent == 0 && parent
            && parent->type == GUMBO_NODE_ELEMENT && (parent->parse_flags & moved) && !(parent->parse_flags & cloned);
    }

    // An element from its start tag to the tag that ended it.
    Span element_span(const GumboElement &element) const
    {
        const Offset begin = element.start_pos.offset;
        const Offset end = element.end_pos.offset;
        return { begin, end > begin ? end : begin + element.original_tag.length };
    }

    // The text of a raw text element (script, style, textarea, ...), which
    // the tokenizer reads without looking for tags.
    void skip_raw_text(const GumboElement &element)
    {
        if (element.original_tag.length == 0)
            return;
        const Offset begin = Offset(element.original_tag.data - m_text.data()) + element.original_tag.length;
        const Offset end = element.end_pos.offset >= begin ? element.end_pos.offset : m_text.size();
        m_skipped.push_back({ begin, end });
    }

    static QByteArray meta_label(const GumboElement &element)
    {
        if (const char *charset = attribute(element, "charset")) {
            if (!HtmlEncoding::for_meta_label(charset).isEmpty())
                return charset;
        }
        const char *equiv = attribute(element, "http-equiv");
        const char *content = attribute(element, "content");
        if (equiv && content && ascii_lower(equiv) == "content-type") {
            const QByteArray label = HtmlEncoding::charset_parameter(content);
            if (!HtmlEncoding::for_meta_label(label).isEmpty())
                return label;
        }
        return {};
    }

    // An attribute's value as the page has it; empty when it is missing.
    QString text_of(const GumboElement &element, const char *name) const
    {
        const GumboAttribute *found = gumbo_get_attribute(&element.attributes, name);
        return found ? m_source.value(*found) : QString();
    }

    Pointer form_pointer() const
    {
        Pointer pointer;
        pointer.by_start.resize(m_forms.size());
        for (std::size_t k = 0; k < m_forms.size(); ++k)
            pointer.by_start[k] = int(k);
        std::stable_sort(
            pointer.by_start.begin(), pointer.by_start.end(), [this](int a, int b) { return start(a) < start(b); });
        pointer.end.assign(m_forms.size(), m_text.size());

        std::vector<Offset> foreign_ends = m_foreign_form_ends;
        std::sort(foreign_ends.begin(), foreign_ends.end());
        // A form starts in the body, so every </form> after it is one the
        // parser handles there, except in the select and template spans the
        // scanner skips and those that close an SVG or MathML <form>.
        FormEndTagScanner scanner(m_text, m_skipped);
        for (std::size_t i = 0; i < pointer.by_start.size(); ++i) {
            const int form = pointer.by_start[i];
            const Offset until = i + 1 < pointer.by_start.size() ? start(pointer.by_start[i + 1]) : m_text.size();
            Offset end = until;
            for (Offset from = start(form);;) {
                const Offset tag = scanner.find(from, until);
                if (tag == kNowhere)
                    break;
                if (!std::binary_search(foreign_ends.begin(), foreign_ends.end(), tag)) {
                    end = tag;
                    break;
                }
                from = scanner.after();
            }
            pointer.end[form] = end;
        }
        return pointer;
    }

    int owner(const Control &control, const Pointer &pointer) const
    {
        // A form attribute names the owner by id, and only a form will do.
        if (const char *id = attribute(*control.element, "form"))
            return form_with_id(id);
        if (control.moved)
            return control.ancestor_form;
        const Offset at = control.element->start_pos.offset;
        const auto after = std::upper_bound(pointer.by_start.begin(), pointer.by_start.end(), at,
            [this](Offset offset, int form) { return offset < start(form); });
        if (after != pointer.by_start.begin()) {
            const int form = *(after - 1);
            if (start(form) < at && at < pointer.end[form])
                return form;
        }
        return control.ancestor_form;
    }

    int form_with_id(std::string_view id) const
    {
        if (m_first_with_id.empty() && !m_ids.empty()) {
            for (auto it = m_ids.rbegin(); it != m_ids.rend(); ++it)
                m_first_with_id[it->first] = it->second;
            for (std::size_t k = 0; k < m_forms.size(); ++k)
                m_form_index[m_forms[k]] = int(k);
        }
        const auto element = m_first_with_id.find(id);
        if (element == m_first_with_id.end())
            return -1;
        const auto form = m_form_index.find(element->second);
        return form == m_form_index.end() ? -1 : form->second;
    }

    const HtmlDocumentText &m_source;
    std::string_view m_text;
    bool m_want_meta;
    QByteArray m_meta_label;
    std::vector<const GumboElement *> m_forms;
    std::vector<Control> m_controls;
    std::vector<std::pair<std::string_view, const GumboElement *>> m_ids;
    std::vector<Span> m_skipped;
    std::vector<Offset> m_foreign_form_ends;
    mutable std::unordered_map<std::string_view, const GumboElement *> m_first_with_id;
    mutable std::unordered_map<const GumboElement *, int> m_form_index;
};

} // namespace

HtmlDocument HtmlDocument::read(const QByteArray &page, const QByteArray &http_charset, const Limits &limits)
{
    const auto deadline
        = std::chrono::steady_clock::now() + limits.time + limits.time_per_megabyte * page.size() / (1 << 20);
    const HtmlEncoding sniffed(page, http_charset);
    HtmlDocument document;
    document.m_encoding = sniffed.name();
    document.m_label = sniffed.label();
    bool tentative = !sniffed.certain();
    bool declared = sniffed.declared();
    for (;;) {
        if (!HtmlEncoding::can_decode(document.m_encoding)) {
            document.m_status = Status::Undecodable;
            return document;
        }
        const HtmlDocumentText text(HtmlEncoding::to_utf8(page, document.m_encoding));
        GumboArena arena(limits.memory, deadline);
        const GumboOutput *output = arena.parse(text.text().data(), text.text().size());
        if (!output) {
            document.m_status = Status::TooComplex;
            return document;
        }
        const FormTree tree(*output, text, tentative);
        // A <meta> that names another encoding than the one guessed makes
        // the browser read the page again in that encoding.
        if (tentative && !tree.meta_label().isEmpty()) {
            tentative = false;
            declared = true;
            if (const QByteArray named = HtmlEncoding::for_meta_label(tree.meta_label());
                named != document.m_encoding) {
                document.m_encoding = named;
                document.m_label = tree.meta_label();
                continue;
            }
        }
        document.m_forms = tree.forms(document.m_encoding, declared);
        return document;
    }
}

HtmlDocument HtmlDocument::read(const QByteArray &page, const QByteArray &http_charset)
{
    return read(page, http_charset, Limits());
}
