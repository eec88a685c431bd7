#pragma once

#include <QByteArray>
#include <QString>

#include <gumbo.h>

#include <cstddef>
#include <string_view>
#include <vector>

// A page's text as gumbo is given it, and the attribute values read back as
// a browser has them.
//
// Gumbo turns control characters and noncharacters in the page (U+0001,
// U+0081, U+FDD0, ...) into U+FFFD, where a browser keeps them. So each goes
// to gumbo as a private-use stand-in (U+10FF00 and up), which gumbo leaves
// alone and which tags and markup never depend on, and attribute values get
// the real character back. A stand-in is told from the same character
// written in the page, or made by a character reference, by where it is.
class HtmlDocumentText final
{
public:
    // `utf8` must be valid UTF-8.
    explicit HtmlDocumentText(QByteArray utf8);

    std::string_view text() const { return { m_text.constData(), std::size_t(m_text.size()) }; }

    // An attribute of an element parsed from text(), as the page has it.
    QString value(const GumboAttribute &attribute) const;

private:
    QByteArray m_text;
    // Where each stand-in starts in the text, in order.
    std::vector<std::size_t> m_stand_ins;
};
