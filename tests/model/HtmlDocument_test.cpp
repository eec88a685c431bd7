// The HTML engine: which elements belong to which form, their types and
// names, and the page's character set.
#include "model/HtmlDocument.h"
#include "support/QtPrinters.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Each form as "name: element=type ..." ("?": no type), forms separated by " | ".
QString summary(const QByteArray &html)
{
    const HtmlDocument document = HtmlDocument::read(html);
    QStringList forms;
    for (const HtmlDocument::Form &form : document.forms()) {
        QString line = form.name + ':';
        for (const HtmlDocument::Element &element : form.elements)
            line += ' ' + element.name + '=' + element.type.value_or("?");
        forms << line;
    }
    return forms.join(" | ");
}

struct OwnerCase
{
    const char *what;
    const char *html;
    const char *expected;
};

TEST(HtmlDocument, ElementsBelongToTheirFormAsInABrowser)
{
    const OwnerCase cases[] = {
        { "a form inside a form is ignored",
            "<form name=outer><input name=x><form name=inner><input name=y></form><input name=z>",
            "outer: x=text y=text" },
        { "an unclosed form outlives its parent", "<div><form name=f><input name=a></div><input name=b>",
            "f: a=text b=text" },
        { "a form opened while another is unclosed is dropped", "<div><form name=a></div><form name=b><input name=x>",
            "a: x=text" },
        { "a form in a table owns its cells",
            "<table><form name=t><tr><td><input name=a></td><td><select name=b></select></td></tr></form></table>"
            "<input name=c>",
            "t: a=text b=?" },
        { "a form closed with its cell owns the later cells",
            "<table><tr><td><form name=f><input name=a></td><td><input name=b></td></tr></table></form><input name=c>",
            "f: a=text b=text" },
        { "a </form> in a cell ends only the pointer",
            "<form name=f><table><tr><td></form></td></tr></table><input name=a>", "f: a=text" },
        { "a form made in a cell after that owns what follows",
            "<form name=outer><table><tr><td></form><form name=inner><input name=a></td></tr></table><input name=b>",
            "outer: | inner: a=text b=text" },
        { "the form attribute points at a form by id, earlier or later",
            "<input name=early form=two><form id=one name=one></form>"
            "<form id=two name=two><input name=a form=one><input name=b></form><input name=c form=two>",
            "one: a=text | two: early=text b=text c=text" },
        { "a form attribute naming no form leaves the element without one",
            "<form id=f name=f><input name=a form=nothing><input name=b form=''><p id=p><input name=c form=p></form>",
            "f:" },
        { "the first element with an id counts",
            "<div id=x></div><form id=x name=f><input name=a form=x><input name=b></form>", "f: b=text" },
        { "template content is not part of the page",
            "<template><form name=t><input name=a></form></template><form name=f><input name=b></form>", "f: b=text" },
        { "a </form> in a template or a select is no end",
            "<table><form name=f><tr><td><template></form></template><select name=s></form></select><input name=a>",
            "f: s=? a=text" },
        { "an SVG form is no form", "<table><form name=f><tr><td><svg><form></form></svg><input name=a>", "f: a=text" },
        { "a </form> in a comment, a script or an attribute is no tag",
            "<table><form name=f><tr><td><!-- </form> --><script>'</form>'</script><a title='</form>'>x</a>"
            "<textarea name=t></form></textarea><input name=a>",
            "f: t=textarea a=text" },
        { "tree order: a control moved out of a table comes first",
            "<form name=f><table><tr><td><input name=b></td></tr><input name=c></table></form>", "f: c=text b=text" },
    };
    for (const OwnerCase &c : cases)
        EXPECT_EQ(summary(c.html), QString::fromUtf8(c.expected)) << c.what;
}

TEST(HtmlDocument, EveryElementKindWithTheTypeTheDomReports)
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

struct EncodingCase
{
    const char *what;
    QByteArray page;
    QByteArray http_charset;
    const char *name; // UTF-8
    const char *encoding;
};

TEST(HtmlDocument, NamesAreDecodedInThePagesCharacterSet)
{
    const QByteArray latin("<form><input name='pr\xE9nom'></form>");
    const QByteArray utf8("<form><input name='pr\xC3\xA9nom'></form>");
    const QByteArray cyrillic("<form><input name='\xCF\xF0\xE8\xE2\xE5\xF2'></form>"); // Windows-1251
    const EncodingCase cases[] = {
        { "other bytes without a label", latin, {}, "prénom", "windows-1252" },
        { "meta charset latin1 means Windows-1252", "<meta charset=ISO-8859-1><form><input name='\x93q\x94'></form>",
            {}, "“q”", "windows-1252" },
        { "meta http-equiv", "<meta http-equiv=Content-Type content='text/html; charset=windows-1251'>" + cyrillic, {},
            "Привет", "windows-1251" },
        { "the HTTP header beats the meta", "<meta charset=utf-8>" + latin, "iso-8859-1", "prénom", "windows-1252" },
        { "a meta past the first 1024 bytes",
            "<!--" + QByteArray(2000, 'x') + "--><meta charset=windows-1251>" + cyrillic, {}, "Привет",
            "windows-1251" },
        { "a UTF-8 byte order mark beats the meta", "\xEF\xBB\xBF<meta charset=windows-1251>" + utf8, {}, "prénom",
            "UTF-8" },
        { "UTF-16 with byte order mark",
            QByteArray("\xFF\xFE<\0f\0o\0r\0m\0>\0<\0i\0n\0p\0u\0t\0 \0n\0a\0m\0e\0=\0\xE9\0>\0", 42), {}, "é",
            "UTF-16LE" },
        { "unknown labels are passed over", "<meta charset=nonsense>" + latin, "bogus", "prénom", "windows-1252" },
        { "UTF-16 named in a meta means UTF-8", "<meta charset=utf-16>" + utf8, {}, "prénom", "UTF-8" },
    };
    for (const EncodingCase &c : cases) {
        SCOPED_TRACE(c.what);
        const HtmlDocument document = HtmlDocument::read(c.page, c.http_charset);
        ASSERT_EQ(document.forms().size(), 1u);
        ASSERT_EQ(document.forms().front().elements.size(), 1u);
        EXPECT_EQ(document.forms().front().elements.front().name, QString::fromUtf8(c.name));
        EXPECT_EQ(document.encoding(), QByteArray(c.encoding));
    }
}

TEST(HtmlDocument, DeepNestingIsReadWithoutExhaustingTheStack)
{
    QByteArray deep = "<form name=deep>";
    for (int i = 0; i < 200000; ++i)
        deep += "<span>";
    EXPECT_EQ(summary(deep + "<input name=bottom>"), "deep: bottom=text");
}

} // namespace
