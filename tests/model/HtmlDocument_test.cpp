// The HTML engine: which elements belong to which form, their types and
// names, and the page's character set. Expected results are what Chromium
// gives for the same pages (form.elements, scripting off).
#include "model/HtmlDocument.h"
#include "model/HtmlEncodingIndex.h"
#include "support/QtPrinters.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

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

// A test name from a sentence: its words, capitalised, letters and digits only.
std::string name_from(const char *sentence)
{
    std::string name;
    for (const QString &word :
        QString::fromUtf8(sentence).split(QRegularExpression("[^A-Za-z0-9]+"), Qt::SkipEmptyParts))
        name += (word.left(1).toUpper() + word.mid(1)).toStdString();
    return name;
}

// Every case below is named by its `what`, in test names and in messages.
template<typename Case>
requires requires(const Case &c)
{
    c.what;
}
void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.what;
}

const auto kNamed = [](const auto &info) { return name_from(info.param.what); };

struct OwnerCase
{
    const char *what;
    QByteArray html;
    const char *expected;
};

using FormOwnership = ::testing::TestWithParam<OwnerCase>;

TEST_P(FormOwnership, ElementsBelongToTheFormABrowserGivesThem)
{
    EXPECT_EQ(summary(GetParam().html), QString::fromUtf8(GetParam().expected));
}

const OwnerCase kOwnerCases[] = {
    { "a form inside a form is ignored",
        "<form name=outer><input name=x><form name=inner><input name=y></form><input name=z>", "outer: x=text y=text" },
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
        "<template><form name=t><input name=a></form></template><form name=f><input name=b></form><input name=c>",
        "f: b=text" },
    { "a </form> in a template or a select is no end",
        "<table><form name=f><tr><td><template></form></template><select name=s></form></select><input name=a>",
        "f: s=? a=text" },
    { "an SVG form is no form", "<table><form name=f><tr><td><svg><form></form></svg><input name=a>", "f: a=text" },
    { "a </form> in SVG or MathML still ends the pointer",
        "<table><form name=f><tr><td><svg></form></svg><math><mi></form></mi></math><input name=a>", "f:" },
    { "a </form> in a comment, a script or an attribute is no tag",
        "<table><form name=f><tr><td><!-- </form> --><script>'</form>'</script><a title='</form>'>x</a>"
        "<textarea name=t></form></textarea><input name=a>",
        "f: t=textarea a=text" },
    { "tree order: a control moved out of a table comes first",
        "<form name=f><table><tr><td><input name=b></td></tr><input name=c></table></form>", "f: c=text b=text" },
    // Where </form> ends the form element pointer and where it does not.
    { "a </form> in the head is ignored",
        "<html><head></form></head><body><table><form name=f><tr><td></td></tr><tr><td><input name=a></td></tr>"
        "</table><input name=b></body>",
        "f: a=text b=text" },
    { "a </form> between head and body is ignored",
        "<head><title>t</title></form><meta name=x></head><table><form name=f><tr><td><input name=a></form></td>"
        "<td><input name=b>",
        "f: a=text" },
    { "a </form> in the head's noscript is ignored",
        "<head><noscript></form></noscript></head><table><form name=f><tr><td><input name=a>", "f: a=text" },
    { "a </form> right after a form in a table ends it at once",
        "<table><form name=f></form><tr><td><input name=a></td></tr></table><input name=b>", "f:" },
    { "a </form> between table rows ends the pointer",
        "<table><form name=f><tr><td><input name=a></td></tr></form><tr><td><input name=b></td></tr></table>"
        "<input name=c>",
        "f: a=text" },
    { "a </form> in a caption ends the pointer",
        "<table><form name=f><caption></form><input name=a></caption><tr><td><input name=b>", "f:" },
    { "a </form> after the body still ends the pointer",
        "<body><table><form name=f><tr><td><input name=a></td></tr></table></body></form><input name=b>", "f: a=text" },
    { "a </form> in a button ends the form",
        "<form name=f><button name=bt></form><input name=a></button><input name=b>", "f: bt=submit a=text" },
    { "a </form> in a list item ends the form",
        "<ul><li><form name=f><input name=a></li><li></form><input name=b></li></ul><input name=c>", "f: a=text" },
    // Misnested formatting tags: the parser moves the block out of the
    // formatting element, and the controls it held lose the form they had
    // through the pointer; ones added later keep it.
    { "misnested tags move a control out of a login table",
        "<table><tr><td><form name=login><input name=user></td></tr><tr><td><font><div>Password <input name=pass>"
        "</font></div></td></tr><tr><td><input type=submit name=go></form></td></tr></table>",
        "login: user=text go=submit" },
    { "controls added to the moved block afterwards keep the form",
        "<table><tr><td><form name=f><input name=a></td></tr><tr><td><font><div><input name=b></font>"
        "<input name=c></div><input name=d></td></tr></table>",
        "f: a=text c=text d=text" },
    { "a move inside the form keeps the form", "<form name=f><b><div><input name=a></b><input name=b></div></form>",
        "f: a=text b=text" },
    { "a form moved as the block keeps its controls",
        "<b><form name=f><input name=a></b><input name=b></form><input name=c>", "f: a=text b=text" },
    { "a block moved out of the form takes its controls out",
        "<form name=f><b></form><div><input name=a></b><input name=b></div><input name=c>", "f:" },
    { "formatting tags between the two are copied, what comes later stays",
        "<table><tr><td><form name=f></td></tr><tr><td><font><b><i><div><input name=a></font><input name=b></div>"
        "<input name=c></i><input name=d></b></td></tr></table>",
        "f: b=text c=text d=text" },
    { "a copy made by one move can be moved again",
        "<table><tr><td><form name=f></td></tr><tr><td><font><b><div>x</font>y</div>z<div><input name=a></b>"
        "<input name=b></div></td></tr></table>",
        "f: b=text" },
    { "a formatting element copied around a nested block moves nothing",
        "<table><tr><td><form name=f></td></tr><tr><td><s><div><i><li></s><input name=a></td></tr></table>",
        "f: a=text" },
    { "a button that is the moved block loses the form",
        "<table><tr><td><form name=f></td></tr><tr><td><b><button name=bt><input name=a></b></button>"
        "<input name=c></td></tr></table>",
        "f: c=text" },
    { "a second link start tag moves the block",
        "<table><tr><td><form name=f></td></tr><tr><td><a href=x><div><input name=a><a href=y><input name=b></a>"
        "</div><input name=c></td></tr></table>",
        "f: b=text c=text" },
    { "a formatting element reopened after a paragraph moves the block",
        "<table><tr><td><form name=f></td></tr><tr><td><p><b>x</p>y<div><input name=a></b><input name=b></div>"
        "</td></tr></table>",
        "f: b=text" },
    { "an element in an object is not moved",
        "<table><tr><td><form name=f></td></tr><tr><td><b><object name=ob><input name=a></b></object>"
        "<input name=c></td></tr></table>",
        "f: ob=? a=text c=text" },
    { "a moved control keeps its form attribute",
        "<form id=g name=g></form><table><tr><td><form name=f></td></tr><tr><td><b><div><input name=a form=g>"
        "<input name=b></b></div></td></tr></table>",
        "g: a=text | f:" },
    { "every element kind with the type the DOM reports",
        "<form name=k><input name=t><input type=CheckBox name=c><input type=bogus name=u><input type=image name=i>"
        "<input type=file name=f><input type=datetime name=d><input type=' radio' name=r>"
        "<button name=b1></button><button type=RESET name=b2></button><button type=x name=b3></button>"
        "<textarea name=ta></textarea><select name=s multiple></select><fieldset name=fs></fieldset>"
        "<object name=o></object><output name=out></output>"
        "<keygen name=kg><img name=img><label name=l></label><a name=an></a></form>",
        "k: t=text c=checkbox u=text f=file d=text r=text b1=submit b2=reset b3=submit ta=textarea s=? fs=? o=? "
        "out=?" },
    { "deep nesting is read without exhausting the stack",
        "<form name=deep>" + QByteArray("<span>").repeated(200000) + "<input name=bottom>", "deep: bottom=text" },
};

INSTANTIATE_TEST_SUITE_P(Pages, FormOwnership, ::testing::ValuesIn(kOwnerCases), kNamed);

// Text written in an encoding by the platform's encoder, used only for
// characters on which it and the Encoding Standard agree. (The cases are
// made before any test runs, so a failure shows as the text below.)
QByteArray in(const char *encoding, const QByteArray &utf8)
{
    QStringEncoder encoder(encoding);
    const QByteArray bytes = encoder.encode(QString::fromUtf8(utf8));
    return encoder.isValid() && !encoder.hasError() ? bytes : QByteArray("(no such text in ") + encoding + ')';
}

struct EncodingCase
{
    const char *what;
    QByteArray page; // holds one form; its elements' names are read
    QByteArray http_charset;
    const char *names; // UTF-8, separated by blanks
    const char *encoding; // "replacement": the page is not read
};

using PageEncoding = ::testing::TestWithParam<EncodingCase>;

TEST_P(PageEncoding, NamesAreDecodedAsABrowserDecodesThem)
{
    const EncodingCase &c = GetParam();
    const HtmlDocument document = HtmlDocument::read(c.page, c.http_charset);
    EXPECT_EQ(document.encoding(), QByteArray(c.encoding));
    if (document.encoding() == "replacement") {
        EXPECT_EQ(document.status(), HtmlDocument::Status::Undecodable);
        EXPECT_TRUE(document.forms().empty());
        return;
    }
    ASSERT_EQ(document.status(), HtmlDocument::Status::Read);
    ASSERT_EQ(document.forms().size(), 1u);
    QStringList names;
    for (const HtmlDocument::Element &element : document.forms().front().elements)
        names << element.name;
    EXPECT_EQ(names.join(' '), QString::fromUtf8(c.names));
}

const QByteArray kRussian = "<p>Пожалуйста, заполните форму. Все поля обязательны.</p><form><input name=имя></form>";
const QByteArray kLatin = "<form><input name='pr\xE9nom'></form>";
const QByteArray kUtf8 = "<form><input name='pr\xC3\xA9nom'></form>";

QByteArray form_with(const QByteArray &name)
{
    return "<form><input name='" + name + "'></form>";
}

// A name in UTF-8 but for the bytes given.
QByteArray not_quite_utf8(const QByteArray &bytes)
{
    return form_with("caf\xC3\xA9 cr\xC3\xA8me x" + bytes);
}

QByteArray meta(const char *label, const QByteArray &page)
{
    return QByteArray("<meta charset='") + label + "'>" + page;
}

const EncodingCase kEncodingCases[] = {
    // Where the encoding comes from.
    { "meta charset latin1 means Windows-1252", meta("ISO-8859-1", form_with("\x93q\x94")), {}, "“q”", "windows-1252" },
    { "meta http-equiv",
        "<meta http-equiv=Content-Type content='text/html; charset=windows-1251'>" + in("windows-1251", kRussian), {},
        "имя", "windows-1251" },
    { "the HTTP header beats the meta", meta("utf-8", kLatin), "iso-8859-1", "prénom", "windows-1252" },
    { "a meta past the first 1024 bytes",
        "<!--" + QByteArray(2000, 'x') + "--><meta charset=windows-1251>" + in("windows-1251", kRussian), {}, "имя",
        "windows-1251" },
    { "a UTF-8 byte order mark beats the meta", "\xEF\xBB\xBF<meta charset=windows-1251>" + kUtf8, {}, "prénom",
        "UTF-8" },
    { "UTF-16 little-endian with byte order mark",
        QByteArray("\xFF\xFE<\0f\0o\0r\0m\0>\0<\0i\0n\0p\0u\0t\0 \0n\0a\0m\0e\0=\0\xE9\0>\0", 42), {}, "é",
        "UTF-16LE" },
    { "UTF-16 big-endian with byte order mark",
        QByteArray("\xFE\xFF\0<\0f\0o\0r\0m\0>\0<\0i\0n\0p\0u\0t\0 \0n\0a\0m\0e\0=\x04\x38\x04\x3C\x04\x4F\0>", 46), {},
        "имя", "UTF-16BE" },
    { "UTF-16 named in a meta means UTF-8", meta("utf-16", kUtf8), {}, "prénom", "UTF-8" },
    // Labels as the Encoding Standard maps them, names in their script.
    { "euc-kr is windows-949", meta("euc-kr", form_with(in("windows-949", "똠방각하"))), {}, "똠방각하", "EUC-KR" },
    { "big5 takes the Hong Kong characters", meta("big5", form_with(in("Big5-HKSCS", "嘅㗎"))), {}, "嘅㗎", "Big5" },
    { "cn-big5", meta("cn-big5", form_with(in("Big5", "電話"))), {}, "電話", "Big5" },
    { "gb2312 reads four-byte sequences", meta("gb2312", form_with(in("GB18030", "姓名") + "\x80\x95\x32\x82\x36")), {},
        "姓名€𠀀", "GBK" },
    { "gbk", meta("GBK", form_with(in("GB18030", "地址"))), {}, "地址", "GBK" },
    { "csiso88596e is Arabic ISO-8859-6", meta("csiso88596e", form_with(in("ISO-8859-6", "الاسم"))), {}, "الاسم",
        "ISO-8859-6" },
    { "csiso88598i is Hebrew", meta("csiso88598i", form_with(in("ISO-8859-8", "שם"))), {}, "שם", "ISO-8859-8-I" },
    { "logical is Hebrew", meta("logical", form_with(in("ISO-8859-8", "טלפון"))), {}, "טלפון", "ISO-8859-8-I" },
    { "visual is Hebrew", meta("visual", form_with(in("ISO-8859-8", "כתובת"))), {}, "כתובת", "ISO-8859-8" },
    { "iso-8859-16 is Romanian", meta("iso-8859-16", form_with("ora\xBA-jude\xFE")), {}, "oraș-județ", "ISO-8859-16" },
    { "koi is KOI8-R", meta("koi", form_with(in("KOI8-R", "фамилия"))), {}, "фамилия", "KOI8-R" },
    { "koi8-ru is Ukrainian KOI8-U", meta("koi8-ru", form_with(in("KOI8-U", "прізвище"))), {}, "прізвище", "KOI8-U" },
    { "x-mac-ukrainian is Mac Cyrillic", meta("x-mac-ukrainian", form_with(in("x-mac-cyrillic", "прізвище"))), {},
        "прізвище", "x-mac-cyrillic" },
    // The edges of each multi-byte decoder's ranges ("\xEF\xBF\xBD" is U+FFFD).
    { "Big5 letters with combining marks", meta("big5", form_with("\x88\x62\x88\x64\x88\xA3\x88\xA5")), {},
        "\xC3\x8A\xCC\x84\xC3\x8A\xCC\x8C\xC3\xAA\xCC\x84\xC3\xAA\xCC\x8C", "Big5" },
    { "Shift_JIS edges", meta("shift_jis", form_with("\xF0\x40\xF9\xFC\xFA\x40\x80\xA0\xA1\xDF\xFD")), {},
        "\xEE\x80\x80\xEE\x9D\x97ⅰ\xC2\x80\xEF\xBF\xBD｡ﾟ\xEF\xBF\xBD", "Shift_JIS" },
    { "EUC-JP edges", meta("euc-jp", form_with("\x8E\xA1\x8E\xDF\x8E\xE0\xA1\xA1\xFE\xFE")), {},
        "｡ﾟ\xEF\xBF\xBD\xE3\x80\x80\xEF\xBF\xBD", "EUC-JP" },
    { "gb18030 edges",
        meta("gb18030",
            form_with("\x80\xFF\x81\x30\x81\x30\x84\x31\xA4\x39\x84\x31\xA5\x30\x90\x30\x81\x30\xE3\x32\x9A\x35"
                      "\xE3\x32\x9A\x36\x81\x35\xF4\x37\xA6\xD9")),
        {}, "€\xEF\xBF\xBD\xC2\x80\xEF\xBF\xBF\xEF\xBF\xBD𐀀\xF4\x8F\xBF\xBF\xEF\xBF\xBD\xEE\x9F\x87︐", "gb18030" },
    { "EUC-KR edges", meta("euc-kr", form_with("\x81\x41\xFE\xFE\xC9\xA1\xA1\xA1\xFE\xA1")), {},
        "갂\xEF\xBF\xBD\xEF\xBF\xBD\xE3\x80\x80\xEF\xBF\xBD", "EUC-KR" },
    { "ISO-2022-JP edges", meta("iso-2022-jp", form_with("\x1B(J\\~\x1B(I\x21\x5F\x60\x1B$@\x21\x21\x1B(B")), {},
        "¥‾｡ﾟ\xEF\xBF\xBD\xE3\x80\x80", "ISO-2022-JP" },
    { "EUC-JP reaches JIS X 0212", meta("euc-jp", form_with("\x8F\xB0\xA1")), {}, "丂", "EUC-JP" },
    // Chromium reads these two otherwise (裞, and one U+FFFD for the bad
    // escape), and the Big5 letters with marks above as garbage; the reader
    // follows the Encoding Standard.
    { "EUC-JP forgets JIS X 0212 after an error", meta("euc-jp", form_with("\x8F\xB7\x02\xDC\xCE")), {},
        "\xEF\xBF\xBD\x02槊", "EUC-JP" },
    { "an ISO-2022-JP escape that is none", meta("iso-2022-jp", form_with("a\x1B$B\x1B(X\x1B(Bb")), {},
        "a\xEF\xBF\xBD\xEF\xBF\xBD"
        "b",
        "ISO-2022-JP" },
    // Single-byte tables where the platform's differ from the standard.
    { "KOI8-U has short u", meta("koi8-u", form_with("\xAE\xBE")), {}, "ўЎ", "KOI8-U" },
    { "windows-874 leaves DB unmapped", meta("windows-874", form_with("a\xDB")), {}, "a\xEF\xBF\xBD", "windows-874" },
    { "windows-1253 leaves AA unmapped", meta("windows-1253", form_with("a\xAA")), {}, "a\xEF\xBF\xBD",
        "windows-1253" },
    { "windows-1255 has a holam at CA", meta("windows-1255", form_with("\xF9\xCA")), {}, "\xD7\xA9\xD6\xBA",
        "windows-1255" },
    { "x-user-defined in a meta means Windows-1252", meta("x-user-defined", form_with("caf\xE9")), {}, "café",
        "windows-1252" },
    { "x-user-defined in the HTTP header", form_with("caf\xE9"), "x-user-defined", "caf\xEF\x9F\xA9",
        "x-user-defined" },
    // Labels browsers do not know are passed over; the bytes then decide.
    { "ibm037 is ignored", meta("ibm037", in("windows-1251", kRussian)), {}, "имя", "windows-1251" },
    { "ucs-4 is ignored", meta("ucs-4", in("windows-1251", kRussian)), {}, "имя", "windows-1251" },
    { "cesu-8 is ignored", meta("cesu-8", kUtf8), "bogus", "prénom", "UTF-8" },
    // Labels of the replacement encoding: nothing of the page is read.
    { "iso-2022-kr is refused", meta("iso-2022-kr", kLatin), {}, "", "replacement" },
    { "hz-gb-2312 in the HTTP header is refused", kUtf8, "hz-gb-2312", "", "replacement" },
    // Pages that declare nothing: UTF-8 when they are, else what the bytes
    // look like, and Windows-1252 when that is no encoding of the standard.
    { "undeclared UTF-8", kUtf8, {}, "prénom", "UTF-8" },
    { "undeclared Russian", in("windows-1251", kRussian), {}, "имя", "windows-1251" },
    { "undeclared Japanese",
        in("Shift_JIS", "<p>お問い合わせは下記のフォームからお願いいたします。</p><form><input name=名前></form>"), {},
        "名前", "Shift_JIS" },
    // The detector's name for windows-949 is no label of the standard (똠 is beyond EUC-KR proper).
    { "undeclared Korean",
        in("windows-949",
            "<p>문의 사항이 있으시면 아래 양식을 작성해 주십시오. 모든 항목은 필수입니다.</p>"
            "<form><input name=똠방각하></form>"),
        {}, "똠방각하", "EUC-KR" },
    // The detector may call Cyrillic text Mac Cyrillic; browsers read such a
    // page, and post its form, as windows-1251.
    { "undeclared Mac Cyrillic",
        in("x-mac-cyrillic",
            "<p>Фамилия, имя и отчество участника конференции. Пожалуйста, заполните все поля формы. "
            "Спасибо за ваше участие в нашем мероприятии.</p><form><input name=Фамилия></form>"),
        {}, "”амилиЯ", "windows-1251" },
    // Bytes that are not UTF-8, in a page that otherwise is: it is read as
    // Windows-1252, whatever a detector makes of it.
    { "C0 is not UTF-8", not_quite_utf8("\xC0\xAF"), {}, "cafÃ© crÃ¨me xÀ¯", "windows-1252" },
    { "C1 is not UTF-8", not_quite_utf8("\xC1\xBF"), {}, "cafÃ© crÃ¨me xÁ¿", "windows-1252" },
    { "F5 is not UTF-8", not_quite_utf8("\xF5\x80\x80\x80"), {}, "cafÃ© crÃ¨me xõ€€€", "windows-1252" },
    { "FF is not UTF-8", not_quite_utf8("\xFF"), {}, "cafÃ© crÃ¨me xÿ", "windows-1252" },
    { "an overlong form is not UTF-8", not_quite_utf8("\xE0\x80\xAF"), {}, "cafÃ© crÃ¨me xà€¯", "windows-1252" },
    { "a surrogate is not UTF-8", not_quite_utf8("\xED\xA0\x80"), {}, "cafÃ© crÃ¨me xí\xC2\xA0€", "windows-1252" },
    { "past U+10FFFF is not UTF-8", not_quite_utf8("\xF4\x90\x80\x80"), {}, "cafÃ© crÃ¨me xô\xC2\x90€€",
        "windows-1252" },
    // Control characters and noncharacters stay as the browser has them,
    // told from the same characters written as references.
    { "control characters in UTF-8 stay", meta("utf-8", form_with("d\x01 e\xC2\x81 f\xEF\xB7\x90 g\x7F")), {},
        "d\x01 e\xC2\x81 f\xEF\xB7\x90 g\x7F", "UTF-8" },
    { "0x81 in Windows-1252 is U+0081", meta("windows-1252", form_with("d\x81\x9D")), {}, "d\xC2\x81\xC2\x9D",
        "windows-1252" },
    { "references and raw characters side by side", meta("utf-8", form_with("&#x10FF01;\x01&#1;\xF4\x8F\xBC\x81\x01")),
        {}, "\xF4\x8F\xBC\x81\x01\x01\xF4\x8F\xBC\x81\x01", "UTF-8" },
};

INSTANTIATE_TEST_SUITE_P(Pages, PageEncoding, ::testing::ValuesIn(kEncodingCases), kNamed);

// Each form submits as Chromium does: in the first accept-charset label (split at blanks and commas) that names
// an encoding, else in the page's; UTF-16 as UTF-8. Where neither names one, in the browser's default: the
// encoding guessed, windows-1252 for an ASCII or UTF-8 page.
TEST(Submission, FormsSubmitInTheCharacterSetABrowserUses)
{
    const std::pair<QByteArray, QByteArrayList> cases[] = {
        { meta("iso-8859-1", "<form></form><form accept-charset=UTF-8></form>"), { "windows-1252", "UTF-8" } },
        { meta("windows-1252", "<form accept-charset='bogus, koi8-r utf-8'></form><form accept-charset=bogus></form>"),
            { "KOI8-R", "windows-1252" } },
        { meta("windows-1252", "<form accept-charset=bogus,koi8-r></form>"), { "KOI8-R" } },
        { meta("windows-1252", "<form accept-charset=utf-16></form>"), { "UTF-8" } },
        { "\xFF\xFE" + in("UTF-16LE", "<form></form>"), { "UTF-8" } },
        { "<form></form><form accept-charset=utf-8></form>", { "guessed windows-1252", "UTF-8" } },
        { kUtf8, { "guessed windows-1252" } },
        { in("windows-1251", kRussian), { "guessed windows-1251" } },
        // A <meta> past the first 1024 bytes that names the encoding guessed.
        { "<p>" + QByteArray(2000, 'x') + "</p><meta charset=utf-8><form></form>", { "UTF-8" } },
    };
    for (const auto &[page, encodings] : cases) {
        const HtmlDocument document = HtmlDocument::read(page);
        QByteArrayList submitted;
        for (const HtmlDocument::Form &form : document.forms())
            submitted << (form.encoding_declared ? "" : "guessed ") + form.encoding;
        EXPECT_EQ(submitted, encodings) << page.constData();
    }
}

// Pages whose names are pseudo-random bytes, ill-formed sequences included,
// in the encoding the HTTP header names. 16 names of 48 bytes each, kept
// clear of the bytes that would end the attribute value. Two paths where
// Chromium departs from the Encoding Standard are left out here (ISO-2022-JP
// escapes that are not escapes, EUC-JP's 0x8F) and tested on their own.
QByteArray random_names(QByteArrayView label)
{
    std::uint32_t state = 2166136261u;
    for (const char c : label)
        state = (state ^ std::uint8_t(c)) * 16777619u;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 8) & 0xFFFF;
    };
    const bool utf16 = label.startsWith("utf-16");
    const bool iso_2022_jp = label == "iso-2022-jp";
    const QByteArray excluded = QByteArray("\0\t\n\f\r\"&", 7) + (label == "euc-jp" ? "\x8F" : "");
    static const char16_t *const escapes[]
        = { u"\x1B$B", u"\x1B$@", u"\x1B(B", u"\x1B(J", u"\x1B(I", u"\x0E", u"\x0F" };
    // Code units: bytes, or UTF-16 units.
    std::u16string units = u"<form>";
    for (int name = 0; name < 16; ++name) {
        units += u"<input name=\"";
        for (int k = 0; k < 48; ++k) {
            if (utf16) {
                // Many surrogates, paired or not.
                std::uint32_t unit = next();
                if (unit % 4 == 0)
                    unit = 0xD800 | (unit & 0x7FF);
                units += char16_t(unit < 0x80 ? unit + 0x80 : unit);
            } else if (iso_2022_jp && next() % 4 == 0) {
                units += escapes[next() % std::size(escapes)];
            } else {
                char16_t byte;
                do
                    byte = char16_t(next() & 0xFF);
                while (excluded.contains(char(byte)));
                units += byte;
            }
        }
        units += iso_2022_jp ? u"\x1B(B\">" : u"\">";
    }
    units += u"</form>";
    QByteArray page;
    for (const char16_t unit : units) {
        const char high = char(unit >> 8), low = char(unit & 0xFF);
        if (!utf16)
            page += low;
        else if (label == "utf-16be")
            page.append(high).append(low);
        else
            page.append(low).append(high);
    }
    return page;
}

struct DecoderCase
{
    const char *what; // the label
    // SHA-256 of the names, each followed by a line feed, in UTF-8.
    const char *sha256;
};

using Decoder = ::testing::TestWithParam<DecoderCase>;

TEST_P(Decoder, ReadsRandomBytesAsABrowserDoes)
{
    const HtmlDocument document = HtmlDocument::read(random_names(GetParam().what), GetParam().what);
    ASSERT_EQ(document.forms().size(), 1u);
    QByteArray names;
    for (const HtmlDocument::Element &element : document.forms().front().elements)
        names += element.name.toUtf8() + '\n';
    EXPECT_EQ(document.forms().front().elements.size(), 16u);
    EXPECT_EQ(QCryptographicHash::hash(names, QCryptographicHash::Sha256).toHex(), GetParam().sha256);
}

// The digests are of the names Chromium gives for the same pages.
INSTANTIATE_TEST_SUITE_P(Encodings, Decoder,
    ::testing::Values(DecoderCase { "shift_jis", "55ec98330e1af5e6ae7e236c1b5388c7aec54dd98ff4224408b52b845a61e49a" },
        DecoderCase { "euc-jp", "921f7ebfa5eff376cbbb483a3822994e9021935f8c1c21022fde6de9d647e68f" },
        DecoderCase { "iso-2022-jp", "fc01b0f3c0e0ab54976b5dc48b32f5e1c80ba09c67b22422f64e385d860a8df6" },
        DecoderCase { "gbk", "a007cee803ed07df4fc6b66ac4c7235beaa8d27020bd01887607813c9ce51b8d" },
        DecoderCase { "gb18030", "c0b17645fdeca4ed7c81a4ef722afb3c02d04ea72b561da46b035595e27d7c68" },
        DecoderCase { "big5", "8506cc945248e340c0aea56d6cf0a3e5dc11814ea2d92b269345323c015600af" },
        DecoderCase { "euc-kr", "31e1b79a2219ce4e724f85e2a1d694925d34cf8331ca84e497b73f40ed9b3d77" },
        DecoderCase { "utf-16le", "7a1117a4f2e70111755fd750b6db52079969a5b4154c4a6f0a61e72bba225421" },
        DecoderCase { "utf-16be", "a95d4f100272f5b3c6f5971fe0ba02c3dac711efc08fbb8110ab04d119cf8f47" },
        DecoderCase { "x-user-defined", "76017b71e19fda97ee22864e8853c267f2cf20cc13ebfaa45fe3886b05d8e5c6" },
        DecoderCase { "utf-8", "062ea25e127eb1d2fce3bc24be2f89f4718be977dce6e275aa2a5b11e3ad7fb2" }),
    kNamed);

struct TableCase
{
    const char *what;
    HtmlEncodingIndex::Table table;
    std::size_t size;
    // SHA-256 of the table as the standard's index file gives it: every
    // pointer's code point as four little-endian bytes, 0 for none.
    const char *sha256;
};

using EncodingTable = ::testing::TestWithParam<TableCase>;

TEST_P(EncodingTable, IsTheStandardsIndex)
{
    const std::span<const char32_t> table = HtmlEncodingIndex::table(GetParam().table);
    ASSERT_EQ(table.size(), GetParam().size);
    QByteArray bytes;
    for (const char32_t c : table) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes += char((c >> shift) & 0xFF);
    }
    EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(), GetParam().sha256);
}

INSTANTIATE_TEST_SUITE_P(EastAsian, EncodingTable,
    ::testing::Values(TableCase { "gb18030", HtmlEncodingIndex::Table::Gb18030, 23940,
                          "1a94120ed767b2c46bed4ef74c77562587a3c79187759e0b7499360f169058e0" },
        TableCase { "big5", HtmlEncodingIndex::Table::Big5, 19782,
            "6a1d3a91d2b196ba7fd84a2813509539834dc500d6e2214e4ca4143287298920" },
        TableCase { "jis0208", HtmlEncodingIndex::Table::Jis0208, 11280,
            "143bd5dbf339786cb8643f2cf3c9e813c4795c1f672f0958c8876e38a7cefc13" },
        TableCase { "jis0212", HtmlEncodingIndex::Table::Jis0212, 8836,
            "e9d2ee024e4334b7fcd6c0e84cbb057f5b80f6b7b5be105c884cde086baf812e" },
        TableCase { "euc_kr", HtmlEncodingIndex::Table::EucKr, 23940,
            "d087addd85e8082c588fad9f8317ed31f9043dafe85beadb353ddb7d7c765c24" }),
    kNamed);

} // namespace
