#include "ReaderFixture.h"

#include "model/HtmlEncoding.h"

namespace {

struct LabelCase
{
    const char *label;
    const char *encoding; // empty: not an encoding a browser knows
};

void PrintTo(const LabelCase &c, std::ostream *out)
{
    *out << '"' << c.label << '"';
}

class EncodingLabels : public ::testing::TestWithParam<LabelCase>
{
};

TEST_P(EncodingLabels, MapAsBrowsersMapThem)
{
    EXPECT_EQ(HtmlEncoding::for_label(GetParam().label), QByteArray(GetParam().encoding));
}

INSTANTIATE_TEST_SUITE_P(Labels, EncodingLabels,
    ::testing::Values(LabelCase { "utf-8", "UTF-8" }, LabelCase { " UTF8 ", "UTF-8" },
        LabelCase { "ISO-8859-1", "windows-1252" }, LabelCase { "us-ascii", "windows-1252" },
        LabelCase { "latin1", "windows-1252" }, LabelCase { "iso-8859-9", "windows-1254" },
        LabelCase { "tis-620", "windows-874" }, LabelCase { "gb2312", "GBK" }, LabelCase { "utf-16", "UTF-16LE" },
        LabelCase { "Shift_JIS", "shift_jis" }, LabelCase { "koi8-r", "koi8-r" }, LabelCase { "utf-7", "" },
        LabelCase { "utf-32", "" }, LabelCase { "no-such-charset", "" }, LabelCase { "", "" }));

struct ContentTypeCase
{
    const char *content_type;
    const char *charset;
};

void PrintTo(const ContentTypeCase &c, std::ostream *out)
{
    *out << '"' << c.content_type << '"';
}

class ContentTypeCharset : public ::testing::TestWithParam<ContentTypeCase>
{
};

TEST_P(ContentTypeCharset, IsTakenFromTheParameter)
{
    EXPECT_EQ(HtmlEncoding::charset_parameter(GetParam().content_type), QByteArray(GetParam().charset));
}

INSTANTIATE_TEST_SUITE_P(ContentTypes, ContentTypeCharset,
    ::testing::Values(ContentTypeCase { "text/html; charset=UTF-8", "UTF-8" },
        ContentTypeCase { "text/html;charset=\"iso-8859-1\"", "iso-8859-1" },
        ContentTypeCase { "text/html; CHARSET = 'koi8-r' ; q=1", "koi8-r" },
        ContentTypeCase { "text/html; charset=windows-1251 extra", "windows-1251" },
        ContentTypeCase { "text/html; charset=\"unterminated", "" }, ContentTypeCase { "text/html; charset", "" },
        ContentTypeCase { "text/html", "" }, ContentTypeCase { "", "" }));

} // namespace
