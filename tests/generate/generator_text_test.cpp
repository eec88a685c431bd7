// The exact PHP text of each generator, for the cases users' scripts rely on.
#include "GeneratedForm.h"
#include "support/QtPrinters.h"

#include "generate/CPHP_script.h"
#include "generate/Crecieving_vars.h"
#include "generate/Html_converter.h"
#include "generate/cmail.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <gtest/gtest.h>

namespace {

const QString redirect_block = "{\r\nheader(\"Location: error.html\");\r\nexit;\r\n}\r\n";

// A rule's checks, which run only on a value the visitor entered.
QString entered(const QString &name, const QString &checks)
{
    return "if ($" + name + " !== \"\")\r\n{\r\n" + checks + "}\r\n";
}

class Generators : public ::testing::Test
{
protected:
    void SetUp() override
    {
        page.prefs().is_embeded_result_page = false;
        page.prefs().error_page = "error.html";
    }
    GeneratedForm page;
};

TEST_F(Generators, FieldTestsWithTheFailureBlockOfEitherResultMode)
{
    Field &age = page.add("age");
    age.required = true;
    EXPECT_EQ(age.required_code(), "if (strlen($age) == 0 )\r\n" + redirect_block);

    page.prefs().is_embeded_result_page = true;
    age.error_html = "<p align=\\\"center\\\">Say $age \"now\"</p>";
    // The reader's escaped quotes stay; the rest is escaped for the string.
    EXPECT_EQ(age.required_code(),
        QStringLiteral("if (strlen($age) == 0 )\r\n{\r\n"
                       "die(\"<p align=\\\"center\\\">Say \\$age \\\"now\\\"</p>\");\r\n}\r\n"));

    page.prefs().is_embeded_result_page = false;
    age.required = false;
    age.validation_type = 0;
    EXPECT_EQ(age.validation_code(), QString()); // no operator: no test
    age.range_operator1 = 1;
    age.range_min = 18;
    EXPECT_EQ(age.validation_code(), entered("age", "if ( !is_numeric($age) || $age < 18)\r\n" + redirect_block));

    Field &zip = page.add("zip");
    zip.validation_type = 4;
    zip.length_operator1 = 1;
    zip.length_min = 5;
    EXPECT_EQ(zip.validation_code(),
        entered("zip",
            "if ((preg_match('//u', $zip) ? preg_match_all('/./su', $zip) : strlen($zip)) <5)\r\n" + redirect_block));

    Field &colour = page.add("colour");
    colour.validation_type = 3;
    colour.list_values = "|red||green|";
    EXPECT_EQ(colour.validation_code(),
        "$colour = trim($colour);\r\n"
            + entered("colour",
                "if ( strcasecmp($colour,\"red\") != 0 && strcasecmp($colour,\"green\") != 0 )\r\n" + redirect_block));
    colour.list_values = "||";
    EXPECT_EQ(colour.validation_code(), QString());
    colour.validation_type = 2;
    colour.expression_type = 6; // beyond the known formats
    EXPECT_EQ(colour.validation_code(), QString());
}

// A file field's variables lose the blanks around its name; the size limit
// is in kilobytes, fractions kept.
TEST_F(Generators, FileFieldVariablesAndSizeLimit)
{
    page.form->is_send_ip = false;
    page.add("email");
    Field &photo = page.add(" photo ", "file", "photo ");
    photo.validation_type = 7;
    photo.max_size = 1.5;
    EXPECT_TRUE(photo.validation_code().contains("\r\nif( $tsl_upload_error != UPLOAD_ERR_OK || $photo_Size == 0)\r\n"
        + redirect_block + "if( $photo_Size >1500)\r\n{\r\n//delete file \r\nunlink($photo_Temp);\r\nheader("));
    const QString received = globals::rec_vars()->get_recieving_code();
    EXPECT_TRUE(received.startsWith("@$email = is_string($_POST['email'] ?? null) ? $_POST['email'] : \"\";\r\n"));
    EXPECT_TRUE(received.contains(
        "\r\n@$photo_Name = is_string($_FILES['photo']['name'] ?? null) ? $_FILES['photo']['name'] : \"\";\r\n"));
}

TEST_F(Generators, OwnerMailWithVisitorAddressAndIpLine)
{
    for (const char *name : { "email", "name", "city" })
        page.add(QString::fromLatin1(name));
    cmail &mail = *globals::owner_mail();
    mail.sender = "email";
    mail.subject = "New \"order\" for $5";
    mail.email_to = "owner@example.com,boss@example.com";
    mail.message_lines()->Add("Name: $name\\n");
    mail.message_lines()->Add("City: $city");
    EXPECT_EQ(mail.get_txtMail_code(),
        QStringLiteral(
            "$tsl_header = \"From: owner@example.com\\r\\n\"\r\n"
            "  . \"MIME-Version: 1.0\\r\\n\"\r\n"
            "  . \"Content-Type: text/plain; charset=UTF-8\\r\\n\";\r\n"
            "if (filter_var($email, FILTER_VALIDATE_EMAIL) !== false && strpbrk($email, \"\\r\\n\") === false) {\r\n"
            "$tsl_header .= \"Reply-To: $email\\r\\n\";\r\n"
            "}\r\n"
            "$tsl_subject = \"New \\\"order\\\" for \\$5\";\r\n"
            "$tsl_email_to = \"owner@example.com,boss@example.com\";\r\n"
            "$tsl_message = \"Visitor's IP: $tsl_ip\\n\"\r\n"
            ". \"Name: $name\\n\"\r\n"
            ". \"City: $city\";\r\n"
            "$tsl_message = preg_replace('/\\r\\n|\\r|\\n/', \"\\r\\n\", $tsl_message);\r\n"
            "if (preg_match_all('/[\\x80-\\xFF]/', $tsl_message) * 2 > strlen($tsl_message)) {\r\n"
            "$tsl_message = wordwrap(base64_encode($tsl_message), 76, \"\\r\\n\", true);\r\n"
            "$tsl_header .= \"Content-Transfer-Encoding: base64\\r\\n\";\r\n"
            "} else {\r\n"
            "$tsl_message = quoted_printable_encode($tsl_message);\r\n"
            "$tsl_header .= \"Content-Transfer-Encoding: quoted-printable\\r\\n\";\r\n"
            "}\r\n"
            "$tsl_sender = \"owner@example.com\";\r\n"
            "$tsl_envelope = (filter_var($tsl_sender, FILTER_VALIDATE_EMAIL) !== false && strpos($tsl_sender, "
            "\"\\\"\") === false && substr_count($tsl_sender, \"'\") < 2) ? \"-f\" . $tsl_sender : \"\";\r\n"
            "if (!@mail($tsl_email_to, $tsl_subject ,$tsl_message ,$tsl_header, $tsl_envelope ) )\r\n"
            "{\r\n"
            "error_log(__FILE__ . \": mail to the form owner not sent\");\r\n"
            "}\r\n"));
}

// The message lines a typed body is kept as (the project file saves them):
// the body's lines with "\n" after each but the last, a reference $name for
// each #name# of a form variable, double quotes made single. Reopened as the
// project reader does it (each "\n" a line break, each "$" a "#"), the lines
// are made again unchanged.
TEST_F(Generators, MessageLinesOfATypedBody)
{
    for (const char *name : { "name", "city" })
        page.add(QString::fromLatin1(name));
    page.add("photo", "file");
    const std::pair<const char *, QStringList> bodies[] = {
        { "Name: #name#\nCity: #city#\n", { "Name: $name\\n", "City: $city" } },
        { "#name# and #city#", { "$name and $city" } },
        { "#name#s and #name##city# and #name##", { "$name#s and $name#$city and $name##" } },
        { "#name##x #photo_URL# #photo_Name#", { "$name##x $photo_URL $photo_Name" } },
        { "#nofield# #5 # ## #name", { "#nofield# #5 # ## $name" } },
        { "Say \"#name#\"\n\n|a|\r\nend\n\n", { "Say '$name'\\n", "\\n", "|a|\\n", "end" } },
    };
    cmail &mail = *globals::owner_mail();
    const auto stored = [&mail](const QString &body) {
        mail.set_message(body);
        QStringList values;
        for (const auto &entry : *mail.message_lines())
            values << entry.value;
        return values;
    };
    for (const auto &[body, lines] : bodies) {
        SCOPED_TRACE(body);
        EXPECT_EQ(stored(QString::fromUtf8(body)), lines);
        EXPECT_EQ(stored(lines.join(QString()).replace("\\n", "\n").replace('$', '#')), lines);
    }
}

TEST(HtmlConverter, ColoursAndFonts)
{
    // Colours are stored as BGR; a system colour keeps its last six digits.
    const std::pair<qint32, const char *> colours[] = { { 0x0000FF, "#FF0000" }, { 0xFF0000, "#0000FF" },
        { 0, "#000000" }, { 0x0A0B0C, "#0C0B0A" }, { static_cast<qint32>(0x80000012), "#120000" } };
    for (const auto &[colour, html] : colours)
        EXPECT_EQ(Html_converter::color_to_html(colour), QString::fromLatin1(html));

    EXPECT_EQ(Html_converter::text_to_html("Thanks", { "Arial", 10, true }, 0),
        "<p align='center'><b><font face='Arial' size='2' color='#000000'>Thanks</font></b></p>");
    QString sizes;
    for (const double points : { 8.0, 8.25, 12.0, 12.5, 24.0, 36.0 })
        sizes += Html_converter::text_to_html(QString(), { "Times", points }, 0).section("size='", 1).left(1);
    EXPECT_EQ(sizes, "123467");
}

TEST_F(Generators, ScriptLayout)
{
    page.prefs().is_header = page.prefs().is_footer = true;
    page.prefs().header_img = "header.html";
    page.prefs().footer_img = "footer.html";
    page.prefs().success_page = "thanks.html";
    page.add("plain"); // no rule: nothing
    page.add("ranged").validation_type = 0; // a rule without text: an empty line

    // Redirects: no includes, however the boxes are ticked.
    globals::web_page()->blocked_ips()->Add("10.0.0.1");
    QString text = CPHP_script().script_text();
    EXPECT_FALSE(text.contains("include("));
    EXPECT_TRUE(text.contains("\r\n// Banned IP addresses \r\nif (file_exists(\"blockedIPs.txt\"))"));
    EXPECT_TRUE(text.endsWith("header(\"Location: thanks.html\");\r\n\r\n?>\r\n"));

    globals::web_page()->blocked_ips()->Clear();
    page.prefs().is_embeded_result_page = true;
    page.prefs().success_message = "<p align='center'>Thanks \"$you\"</p>";
    page.form->is_send_ip = false;
    text = CPHP_script().script_text();
    const QString rule = "# " + QString(52, '-');
    EXPECT_TRUE(
        text.startsWith("<?php\r\n" + rule + "\r\n# -----\r\n# ----- This script was generated by Tressel 1.2.6 on "));
    EXPECT_TRUE(text.contains("\r\n# -----\r\n# -----\r\n" + rule
        + "\r\n\r\n\r\nif (($_SERVER['REQUEST_METHOD'] ?? \"\") !== \"POST\")\r\n{\r\nheader(\"Allow: POST\", true, "
          "405);\r\nexit;\r\n}\r\n\r\n// Cleaning received values\r\n"));
    // A request without the fields a browser always sends is answered before the header; a post too large after.
    EXPECT_TRUE(text.contains(
        "\r\n$_POST = $tsl_clean($_POST);\r\n\r\n$tsl_limit = trim((string)ini_get(\"post_max_size\"));\r\n"
        "$tsl_limit = (int)$tsl_limit * (array(\"k\" => 1024, \"m\" => 1048576, \"g\" => 1073741824)"
        "[strtolower(substr($tsl_limit, -1))] ?? 1);\r\n"
        "$tsl_dropped = $tsl_limit > 0 && (int)($_SERVER['CONTENT_LENGTH'] ?? 0) > $tsl_limit;\r\n\r\n"
        "if (!isset($_POST['plain']) && !isset($_POST['ranged']) && !$tsl_dropped)\r\n{\r\n"
        "header(\"Content-Type: text/plain; charset=UTF-8\", true, 400);\r\necho(\"Nothing was submitted.\");\r\n"
        "exit;\r\n}\r\n\r\n"
        "include(\"header.html\");\r\nif ($tsl_dropped)\r\n{\r\necho(\"Sorry, your submission is too large.\");\r\n"
        "include(\"footer.html\");\r\nexit;\r\n}\r\n\r\n// Receiving variables\r\n"));
    EXPECT_TRUE(text.contains("\r\n\r\n// Validation\r\n\r\n echo("));
    EXPECT_TRUE(text.endsWith(QStringLiteral(
        " echo(\"<p align='center'>Thanks \\\"\\$you\\\"</p>\");\r\ninclude(\"footer.html\");\r\n?>\r\n")));
}

} // namespace
