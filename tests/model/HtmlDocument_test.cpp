#include "ReaderFixture.h"

#include "model/HtmlDocument.h"

#include <QStringList>

#include <gmock/gmock.h>

namespace {

// A document as one line: each form as "name: element=type ..." ("?" for
// an element without a type), forms separated by " | ".
QString summary(const HtmlDocument &document)
{
    QStringList forms;
    for (const HtmlDocument::Form &form : document.forms()) {
        QString line = form.name + QLatin1Char(':');
        for (const HtmlDocument::Element &element : form.elements)
            line += QLatin1Char(' ') + element.name + QLatin1Char('=') + element.type.value_or(QStringLiteral("?"));
        forms << line;
    }
    return forms.join(QStringLiteral(" | "));
}

QString summary(const char *html)
{
    return summary(HtmlDocument::read(QByteArray(html)));
}

struct OwnerCase
{
    const char *what;
    const char *html;
    const char *expected;
};

void PrintTo(const OwnerCase &c, std::ostream *out)
{
    *out << c.what;
}

class FormOwners : public ::testing::TestWithParam<OwnerCase>
{
};

TEST_P(FormOwners, ElementsBelongAsInABrowser)
{
    EXPECT_EQ(summary(GetParam().html), QString::fromUtf8(GetParam().expected)) << GetParam().html;
}

INSTANTIATE_TEST_SUITE_P(Markup, FormOwners,
    ::testing::Values(OwnerCase { "forms in page order, each with its own elements",
                          "<form name=a><input name=x></form><p><form name=b><textarea name=y></textarea></form>",
                          "a: x=text | b: y=textarea" },
        OwnerCase { "a form inside a form is ignored; its elements go to the outer one",
            "<form name=outer><input name=x><form name=inner><input name=y></form><input name=z>",
            "outer: x=text y=text" },
        OwnerCase { "an unclosed form keeps the controls after its parent closes",
            "<div><form name=f><input name=a></div><input name=b>", "f: a=text b=text" },
        OwnerCase { "a form opened while another is unclosed is dropped",
            "<div><form name=a></div><form name=b><input name=x>", "a: x=text" },
        OwnerCase { "a form opened in a table owns the controls of its cells",
            "<table><form name=t><tr><td><input name=a></td><td><select name=b></select></td></tr>"
            "</form></table><input name=c>",
            "t: a=text b=?" },
        OwnerCase { "a form closed with its cell owns the controls of the later cells",
            "<table><tr><td><form name=f><input name=a></td><td><input name=b></td></tr></table>"
            "</form><input name=c>",
            "f: a=text b=text" },
        OwnerCase { "a </form> in a cell ends the pointer, not the form around the table",
            "<form name=f><table><tr><td></form></td></tr></table><input name=a>", "f: a=text" },
        OwnerCase { "a form made in a cell after that owns what follows, even inside the outer form",
            "<form name=outer><table><tr><td></form><form name=inner><input name=a></td></tr></table>"
            "<input name=b>",
            "outer: | inner: a=text b=text" },
        OwnerCase { "the form attribute points at a form by id, earlier or later",
            "<input name=early form=two><form id=one name=one></form>"
            "<form id=two name=two><input name=a form=one><input name=b></form><input name=c form=two>",
            "one: a=text | two: early=text b=text c=text" },
        OwnerCase { "a form attribute naming no form leaves the element without one",
            "<form id=f name=f><input name=a form=nothing><input name=b form=''><p id=p>"
            "<input name=c form=p></form>",
            "f:" },
        OwnerCase { "the first element with an id is the one that counts",
            "<div id=x></div><form id=x name=f><input name=a form=x><input name=b></form>", "f: b=text" },
        OwnerCase { "template content is not part of the page",
            "<template><form name=t><input name=a></form></template><form name=f><input name=b></form>", "f: b=text" },
        OwnerCase { "a </form> inside a template does not end the form of a table",
            "<table><form name=f><tr><td><template></form></template><input name=a>", "f: a=text" },
        OwnerCase { "a </form> inside a select is ignored",
            "<table><form name=f><tr><td><select name=s></form><option>1</select><input name=a>", "f: s=? a=text" },
        OwnerCase { "an SVG form is no form and takes its own end tag",
            "<table><form name=f><tr><td><svg><form></form></svg><input name=a>", "f: a=text" },
        OwnerCase { "a </form> in a comment, a script or an attribute is no tag",
            "<table><form name=f><tr><td><!-- </form> --><script>'</form>'</script>"
            "<a title='</form>'>x</a><textarea name=t></form></textarea><input name=a>",
            "f: t=textarea a=text" },
        OwnerCase { "elements come in tree order: a control moved out of a table comes first",
            "<form name=f><table><tr><td><input name=b></td></tr><input name=c></table></form>", "f: c=text b=text" },
        OwnerCase {
            "the obsolete isindex makes no form", "<isindex name=q><form name=f><input name=a></form>", "f: a=text" },
        OwnerCase { "noscript content counts, as with scripting off",
            "<noscript><form name=n><input name=a></form></noscript>", "n: a=text" },
        OwnerCase { "a page without forms has none", "<p>Hello<input name=a>", "" }));

TEST(HtmlDocumentElements, TypesAreTheOnesTheDomReports)
{
    EXPECT_EQ(summary("<form name=k>"
                      "<input name=t><input type=CheckBox name=c><input type=bogus name=u><input type=image name=i>"
                      "<input type=file name=f><input type=datetime name=d><input type=' radio' name=r>"
                      "<button name=b1></button><button type=RESET name=b2></button><button type=x name=b3></button>"
                      "<textarea name=ta></textarea><select name=s multiple></select><fieldset name=fs></fieldset>"
                      "<object name=o></object><output name=out></output>"
                      "<keygen name=kg><img name=img><label name=l></label><a name=an></a></form>"),
        QStringLiteral("k: t=text c=checkbox u=text f=file d=text r=text b1=submit b2=reset b3=submit "
                       "ta=textarea s=? fs=? o=? out=?"));
}

TEST(HtmlDocumentElements, AttributesAreReadAsWrittenWithReferencesDecoded)
{
    const HtmlDocument document = HtmlDocument::read(
        QByteArray("<form name='a&amp;b' method=Post action='/send?x=1&amp;y=2'><input name='&eacute;t&eacute;'>"
                   "<input></form><form></form>"));
    ASSERT_EQ(document.forms().size(), 2u);
    const HtmlDocument::Form &form = document.forms().front();
    EXPECT_EQ(form.name, QStringLiteral("a&b"));
    EXPECT_EQ(form.method, QStringLiteral("Post"));
    EXPECT_EQ(form.action, QStringLiteral("/send?x=1&y=2"));
    ASSERT_EQ(form.elements.size(), 2u);
    EXPECT_EQ(form.elements[0].name, QString::fromUtf8("été"));
    EXPECT_EQ(form.elements[1].name, QString());
    EXPECT_TRUE(document.forms().back().method.isEmpty());
}

struct EncodingCase
{
    const char *what;
    QByteArray page;
    QByteArray http_charset;
    const char *name; // UTF-8
    const char *encoding;
};

void PrintTo(const EncodingCase &c, std::ostream *out)
{
    *out << c.what;
}

class PageEncodings : public ::testing::TestWithParam<EncodingCase>
{
};

TEST_P(PageEncodings, NamesAreDecodedInThePagesCharacterSet)
{
    const HtmlDocument document = HtmlDocument::read(GetParam().page, GetParam().http_charset);
    ASSERT_EQ(document.forms().size(), 1u);
    ASSERT_EQ(document.forms().front().elements.size(), 1u);
    EXPECT_EQ(document.forms().front().elements.front().name, QString::fromUtf8(GetParam().name));
    EXPECT_EQ(document.encoding(), QByteArray(GetParam().encoding));
}

const QByteArray kLatinForm("<form><input name='pr\xE9nom'></form>");
const QByteArray kUtf8Form("<form><input name='pr\xC3\xA9nom'></form>");
// "Привет" in Windows-1251.
const QByteArray kCyrillicForm("<form><input name='\xCF\xF0\xE8\xE2\xE5\xF2'></form>");

INSTANTIATE_TEST_SUITE_P(Charsets, PageEncodings,
    ::testing::Values(EncodingCase { "valid UTF-8 without a label", kUtf8Form, {}, "prénom", "UTF-8" },
        EncodingCase { "other bytes without a label", kLatinForm, {}, "prénom", "windows-1252" },
        EncodingCase { "meta charset latin1 means Windows-1252",
            "<meta charset=ISO-8859-1><form><input name='\x93q\x94'></form>", {}, "“q”", "windows-1252" },
        EncodingCase { "meta http-equiv content type",
            "<meta http-equiv=Content-Type content='text/html; charset=windows-1251'>" + kCyrillicForm, {}, "Привет",
            "windows-1251" },
        EncodingCase { "the HTTP header beats the meta", "<meta charset=utf-8>" + kLatinForm, "iso-8859-1", "prénom",
            "windows-1252" },
        EncodingCase { "a meta past the first 1024 bytes still counts",
            "<!--" + QByteArray(2000, 'x') + "--><meta charset=windows-1251>" + kCyrillicForm, {}, "Привет",
            "windows-1251" },
        EncodingCase { "a UTF-8 byte order mark beats the meta", "\xEF\xBB\xBF<meta charset=windows-1251>" + kUtf8Form,
            {}, "prénom", "UTF-8" },
        EncodingCase { "UTF-16 with byte order mark",
            QByteArray("\xFF\xFE<\0f\0o\0r\0m\0>\0<\0i\0n\0p\0u\0t\0 \0n\0a\0m\0e\0=\0\xE9\0>\0", 42), {}, "é",
            "UTF-16LE" },
        EncodingCase { "an unknown label is passed over", "<meta charset=nonsense>" + kLatinForm, "bogus", "prénom",
            "windows-1252" },
        EncodingCase { "a meta inside a comment is no meta", "<!-- <meta charset=windows-1251> -->" + kLatinForm, {},
            "prénom", "windows-1252" },
        EncodingCase { "a content charset counts only with http-equiv",
            "<meta content='text/html; charset=windows-1251'>" + kLatinForm, {}, "prénom", "windows-1252" },
        EncodingCase {
            "UTF-16 named in a meta means UTF-8", "<meta charset=utf-16>" + kUtf8Form, {}, "prénom", "UTF-8" }));

TEST(HtmlDocumentLimits, DeepNestingIsReadWithoutExhaustingTheStack)
{
    QByteArray page = "<form name=deep>";
    for (int i = 0; i < 200000; ++i)
        page += "<span>";
    page += "<input name=bottom>";
    EXPECT_EQ(summary(HtmlDocument::read(page)), QStringLiteral("deep: bottom=text"));
}

TEST(HtmlDocumentLimits, MarkupThatWouldTakeTooLongIsRefused)
{
    // Unclosed block elements make the parser's time grow with the square
    // of their number.
    QByteArray page = "<form><input name=a>";
    for (int i = 0; i < 100000; ++i)
        page += "<div>";
    HtmlDocument::Limits limits;
    limits.time = std::chrono::milliseconds(200);
    limits.time_per_megabyte = std::chrono::milliseconds(0);
    const HtmlDocument document = HtmlDocument::read(page, {}, limits);
    EXPECT_EQ(document.status(), HtmlDocument::Status::TooComplex);
    EXPECT_TRUE(document.forms().empty());
}

TEST(HtmlDocumentLimits, MarkupThatWouldTakeTooMuchMemoryIsRefused)
{
    QByteArray page = "<form><input name=a>";
    for (int i = 0; i < 100000; ++i)
        page += "<b><p>";
    HtmlDocument::Limits limits;
    limits.memory = std::size_t(4) << 20;
    EXPECT_EQ(HtmlDocument::read(page, {}, limits).status(), HtmlDocument::Status::TooComplex);
    limits.memory = std::size_t(1) << 30;
    EXPECT_EQ(HtmlDocument::read(page, {}, limits).status(), HtmlDocument::Status::Read);
}

} // namespace
