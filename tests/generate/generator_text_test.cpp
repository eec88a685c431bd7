// The exact PHP text of each generator, for the cases users' scripts rely on.
#include "GeneratedForm.h"
#include "support/QtPrinters.h"

#include "generate/CPHP_script.h"
#include "generate/CSV.h"
#include "generate/Crecieving_vars.h"
#include "generate/Html_converter.h"
#include "generate/IPBanning.h"
#include "generate/Vcreditcard.h"
#include "generate/cmail.h"
#include "generate/create_directory.h"
#include "generate/lib.h"
#include "generate/sql.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <gtest/gtest.h>

namespace {

const QString redirect_block = QStringLiteral("{\r\nheader(\"Location: error.html\");\r\nexit;\r\n}\r\n");

class Generators : public ::testing::Test
{
protected:
    void SetUp() override
    {
        page.prefs().is_embeded_result_page = false;
        page.prefs().error_page = QStringLiteral("error.html");
    }
    GeneratedForm page;
};

TEST_F(Generators, FailureBlockRedirectsOrEndsWithTheErrorText)
{
    Field &age = page.add(QStringLiteral("age"));
    age.required = true;
    EXPECT_EQ(age.required_code(), QStringLiteral("if (strlen($age) == 0 )\r\n") + redirect_block);

    page.prefs().is_embeded_result_page = true;
    age.error_html = QStringLiteral("<p align=\\\"center\\\">Say $age \"now\"</p>");
    // The reader's escaped quotes stay; the rest is escaped for the string.
    EXPECT_EQ(age.required_code(),
        QStringLiteral("if (strlen($age) == 0 )\r\n{\r\n"
                       "die(\"<p align=\\\"center\\\">Say \\$age \\\"now\\\"</p>\");\r\n}\r\n"));

    page.prefs().is_embeded_result_page = false;
    page.prefs().error_page = QStringLiteral("oops \"$x\".html");
    EXPECT_TRUE(age.required_code().contains(QStringLiteral("header(\"Location: oops \\\"\\$x\\\".html\");")));
}

TEST_F(Generators, RangeTestsEachOperatorAndRefusesText)
{
    Field &age = page.add(QStringLiteral("age"));
    age.validation_type = 0;
    EXPECT_EQ(age.validation_code(), QString());
    age.range_operator1 = 1;
    age.range_min = 18;
    EXPECT_EQ(age.validation_code(), QStringLiteral("if ( !is_numeric($age) || $age < 18)\r\n") + redirect_block);
    age.range_operator1 = 6;
    age.range_operator2 = 4;
    age.range_max = -5;
    EXPECT_EQ(age.validation_code(), QStringLiteral("if ( !is_numeric($age) || $age == -5)\r\n") + redirect_block);
    age.range_operator1 = 3;
    age.range_min = 0;
    EXPECT_EQ(age.validation_code().count(QStringLiteral("is_numeric")), 2);
}

TEST_F(Generators, LengthCountsCharacters)
{
    Field &zip = page.add(QStringLiteral("zip"));
    zip.validation_type = 4;
    zip.length_operator1 = 1;
    zip.length_min = 5;
    EXPECT_EQ(zip.validation_code(),
        QStringLiteral("if ((preg_match('//u', $zip) ? preg_match_all('/./su', $zip) : strlen($zip)) <5)\r\n")
            + redirect_block);
}

TEST_F(Generators, CompareAndListTests)
{
    Field &other = page.add(QStringLiteral("password"));
    Field &confirm = page.add(QStringLiteral("confirm"));
    confirm.validation_type = 1;
    confirm.set_compare_field(page.form->fields()->Item(QStringLiteral("password")));
    EXPECT_EQ(confirm.validation_code(), QStringLiteral("if ($confirm !== $password)\r\n") + redirect_block);
    (void)other;

    Field &colour = page.add(QStringLiteral("colour"));
    colour.validation_type = 3;
    colour.list_values = QStringLiteral("|red||green|");
    EXPECT_EQ(colour.validation_code(),
        QStringLiteral("if ( strcasecmp($colour,\"red\") != 0 && "
                       "strcasecmp($colour,\"green\") != 0 )\r\n")
            + redirect_block);
    colour.list_values = QStringLiteral("a \"b\" $c");
    EXPECT_TRUE(colour.validation_code().contains(QStringLiteral("\"a \\\"b\\\" \\$c\"")));
    colour.list_values = QStringLiteral("||");
    EXPECT_EQ(colour.validation_code(), QString());
}

TEST_F(Generators, FormatTests)
{
    Field &value = page.add(QStringLiteral("v"));
    value.validation_type = 2;
    const QStringList conditions = {
        QStringLiteral("if (! preg_match('~[A-Za-z0-9_-]+\\@[A-Za-z0-9_-]+\\.[A-Za-z0-9_-]+~', $v))\r\n"),
        QStringLiteral("if (! preg_match('~https?://[A-Za-z0-9_-]+\\.[A-Za-z0-9_-]+~', $v))\r\n"),
        QStringLiteral("if (! preg_match('~[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}~', $v))\r\n"),
        QStringLiteral("if (strlen($v) != 5)  \r\n"),
        QStringLiteral("list($z1, $z2) = array_pad(explode('-', $v), 2, '');\r\n"
                       "if ( !(is_numeric($z1) && $z1 >= 10000 && $z1 <= 99999) || "
                       "!(is_numeric($z2) && $z2 >= 1000 && $z2 <= 9999) )\r\n"),
        QStringLiteral("if (! validate_cardnum($v))\r\n"),
    };
    for (int type = 0; type < conditions.size(); ++type) {
        value.expression_type = type;
        EXPECT_EQ(value.validation_code(), conditions.at(type) + redirect_block) << type;
    }
    value.expression_type = 6;
    EXPECT_EQ(value.validation_code(), QString());
}

TEST_F(Generators, UploadBlockNormalisesFolderAndAddress)
{
    Field &photo = page.add(QStringLiteral(" photo "), QStringLiteral("file"));
    photo.validation_type = 7;
    photo.max_size = 2000;
    photo.upload_folder = QStringLiteral("up\\files\\");
    photo.mime_types()->Add(QStringLiteral("image/gif"));
    photo.mime_types()->Add(QStringLiteral("image/jpeg"));
    const QString code = photo.validation_code();
    EXPECT_TRUE(code.startsWith(QStringLiteral("if( $photo_Size == 0)\r\n") + redirect_block
        + QStringLiteral("if( $photo_Size >2000000)\r\n{\r\n//delete file \r\n"
                         "unlink($photo_Temp);\r\nheader(")));
    EXPECT_TRUE(code.contains(
        QStringLiteral("\r\nif( $photo_Mime_Type != \"image/gif\" AND $photo_Mime_Type != \"image/jpeg\" )\r\n{\r\n"
                       "unlink($photo_Temp);\r\n")));
    EXPECT_TRUE(code.contains(QStringLiteral("\r\n$uploadFile = \"up/files/\".$photo_Name ;\r\n"
                                             "if (!is_dir(dirname($uploadFile)))\r\n  {\r\n")));
    EXPECT_TRUE(
        code.endsWith(QStringLiteral("@move_uploaded_file( $photo_Temp , $uploadFile); \r\n"
                                     "@chmod($uploadFile, 0644);\r\n$photo_URL = \"http://\".$photo_Name ;\r\n")));
    EXPECT_EQ(photo.upload_folder, QStringLiteral("up/files"));
    EXPECT_EQ(photo.upload_url, QStringLiteral("http:/"));
    // Generating again writes the same text and keeps the size as entered.
    EXPECT_EQ(photo.validation_code(), code);
    EXPECT_EQ(photo.max_size, 2000);

    photo.max_size = 1.5;
    photo.upload_folder.clear();
    const QString next = photo.validation_code();
    EXPECT_TRUE(next.contains(QStringLiteral("if( $photo_Size >1500)\r\n")));
    EXPECT_TRUE(next.contains(QStringLiteral("\r\n$uploadFile =  $photo_Name ;\r\n")));
}

TEST_F(Generators, FixedFunctionsAndBannedIpBlock)
{
    const QString maker = create_directory().get_code();
    EXPECT_EQ(maker,
        QStringLiteral("function RecursiveMkdir($path)\r\n {\r\n   if (!file_exists($path)) \r\n   { \r\n"
                       "      RecursiveMkdir(dirname($path));\r\n      mkdir($path, 0777);\r\n"
                       "    }\r\n  }\r\n\r\n"));
    const QString banned = IPBanning().get_php_code();
    EXPECT_TRUE(banned.startsWith(QStringLiteral("if (file_exists(\"blockedIPs.txt\"))\r\n{\r\n")));
    EXPECT_TRUE(banned.contains(QStringLiteral("\r\n       die(\"Sorry your IP is banned!\"); \r\n")));
    EXPECT_EQ(banned.count(QStringLiteral("\r\n")), 13);

    const QString card = Vcreditcard().CreditCardFunction();
    EXPECT_TRUE(card.startsWith(QStringLiteral("function validate_cardnum($cardnum)\r\n{\r\n")));
    EXPECT_TRUE(card.contains(QStringLiteral("\r\n $checksum=0;\r\n")));
    EXPECT_TRUE(card.endsWith(QStringLiteral("    return false;\r\n}\r\n")));
}

TEST_F(Generators, ReceivingCodeReadsEachFieldAsText)
{
    page.form->is_send_ip = false;
    page.add(QStringLiteral("email"));
    EXPECT_EQ(globals::rec_vars()->get_recieving_code(),
        QStringLiteral("@$email = is_string($_POST['email'] ?? null) ? $_POST['email'] : \"\";\r\n"));

    page.form->is_send_ip = true;
    page.form->set_Method(QStringLiteral("GET"));
    page.add(QStringLiteral("colors"), QStringLiteral("multi select"), QStringLiteral("colors[]"));
    page.add(QStringLiteral("photo "), QStringLiteral("file"), QStringLiteral("photo "));
    page.add(QStringLiteral("email2"), QStringLiteral("text"), QStringLiteral("e.mail 2"));
    Field nameless;
    page.form->fields()->Add(nameless, QString());
    const QStringList lines = globals::rec_vars()->get_recieving_code().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], QStringLiteral("@$tsl_ip= $_SERVER['REMOTE_ADDR'];"));
    EXPECT_EQ(lines[1], QStringLiteral("@$email = is_string($_GET['email'] ?? null) ? $_GET['email'] : \"\";"));
    EXPECT_EQ(lines[2], QStringLiteral("@$colors = $_GET['colors'] ?? null;"));
    EXPECT_EQ(lines[3],
        QStringLiteral("@$colors = (is_array($colors) && $colors === array_filter($colors, "
                       "'is_string')) ? implode(\"&\" , $colors) : \"\";"));
    EXPECT_EQ(lines[4],
        QStringLiteral("@$photo_Name = is_string($_FILES['photo']['name'] ?? null) ? "
                       "$_FILES['photo']['name'] : \"\";"));
    EXPECT_EQ(lines[5],
        QStringLiteral("@$photo_Size = is_int($_FILES['photo']['size'] ?? null) ? "
                       "$_FILES['photo']['size'] : 0;"));
    EXPECT_TRUE(lines[6].startsWith(QStringLiteral("@$photo_Temp = ")));
    EXPECT_TRUE(lines[7].startsWith(QStringLiteral("@$photo_Mime_Type = is_string($_FILES['photo']['type']")));
    EXPECT_EQ(lines[8], QStringLiteral("@$email2 = is_string($_GET['e_mail_2'] ?? null) ? $_GET['e_mail_2'] : \"\";"));
    EXPECT_EQ(lines[9], QString());
}

TEST_F(Generators, OwnerMailWithVisitorAddressAndIpLine)
{
    page.add(QStringLiteral("email"));
    page.add(QStringLiteral("name"));
    page.add(QStringLiteral("city"));
    cmail &mail = *globals::owner_mail();
    mail.sender = QStringLiteral("email");
    mail.subject = QStringLiteral("New \"order\" for $5");
    mail.email_to = QStringLiteral("owner@example.com,boss@example.com");
    mail.message_lines()->Add(QStringLiteral("Name: $name\\n"));
    mail.message_lines()->Add(QStringLiteral("City: $city"));
    EXPECT_EQ(mail.get_txtMail_code(),
        QStringLiteral(
            "$tsl_header = \"\";\r\n"
            "if (filter_var($email, FILTER_VALIDATE_EMAIL) !== false && strpbrk($email, \"\\r\\n\") === false) {\r\n"
            "$tsl_header = \"From: $email\\n\"\r\n"
            "  . \"Reply-To: $email\\n\";\r\n"
            "}\r\n"
            "$tsl_subject = \"New \\\"order\\\" for \\$5\";\r\n"
            "$tsl_email_to = \"owner@example.com,boss@example.com\";\r\n"
            "$tsl_message = \"Visitor's IP: $tsl_ip\\n\"\r\n"
            ". \"Name: $name\\n\"\r\n"
            ". \"City: $city\";\r\n"
            "@mail($tsl_email_to, $tsl_subject ,$tsl_message ,$tsl_header ) ;\r\n"));
}

TEST_F(Generators, MailLinesKeepFieldReferencesOnly)
{
    page.add(QStringLiteral("name"));
    page.add(QStringLiteral("photo"), QStringLiteral("file"));
    cmail &mail = *globals::auto_mail();
    mail.is_autoresponde = true;
    mail.sender = QStringLiteral("shop@example.com");
    mail.email_to = QStringLiteral("$name");
    mail.message_lines()->Add(QStringLiteral("Hi {$name, $names cost $5 at C:\\shop\\n"));
    mail.message_lines()->Add(QStringLiteral("$photo_URL[0] $name->x"));
    const QString code = mail.get_txtMail_code();
    EXPECT_TRUE(code.startsWith(QStringLiteral("$tsl_header = \"From: shop@example.com\\n\"\r\n"
                                               "  . \"Reply-To: shop@example.com\\n\";\r\n")));
    EXPECT_TRUE(code.contains(QStringLiteral("$tsl_email_to = \"$name\";\r\n")));
    EXPECT_TRUE(
        code.contains(QStringLiteral("$tsl_message = \"Hi {{$name}, \\$names cost \\$5 at C:\\\\shop\\n\"\r\n")));
    EXPECT_TRUE(code.contains(QStringLiteral(". \"{$photo_URL}[0] {$name}->x\";\r\n")));
    EXPECT_FALSE(code.contains(QStringLiteral("Visitor's IP")));
    EXPECT_TRUE(code.endsWith(QStringLiteral(
        "if (filter_var($tsl_email_to, FILTER_VALIDATE_EMAIL) !== false && strpbrk($tsl_email_to, "
        "\"\\r\\n\") === false)\r\n@mail($tsl_email_to, $tsl_subject ,$tsl_message ,$tsl_header ) ;\r\n")));
}

TEST_F(Generators, MailBodyOfOneLineOrNone)
{
    cmail &mail = *globals::owner_mail();
    mail.is_GeneericEmail = true;
    mail.sender = QStringLiteral("form@example.com");
    mail.message_lines()->Add(QStringLiteral("only"));
    EXPECT_TRUE(mail.get_txtMail_code().contains(
        QStringLiteral("$tsl_message = \"Visitor's IP: $tsl_ip\\n\"\r\n. \"only\";\r\n")));
    page.form->is_send_ip = false;
    EXPECT_TRUE(mail.get_txtMail_code().contains(QStringLiteral("\r\n$tsl_message = \"only\";\r\n")));
    mail.message_lines()->Clear();
    EXPECT_TRUE(mail.get_txtMail_code().contains(QStringLiteral("\r\n$tsl_message = \"\";\r\n")));
}

TEST_F(Generators, CsvHeaderAndRecordLines)
{
    page.add(QStringLiteral("name"));
    page.add(QStringLiteral("comments"), QStringLiteral("textarea"));
    page.add(QStringLiteral("photo"), QStringLiteral("file"));
    Field &skipped = page.add(QStringLiteral("skipped"));
    skipped.in_csv = false;
    CSV &csv = *globals::csv_file();
    csv.filename = QStringLiteral("data.csv");
    const QString code = csv.get_csv_code();
    EXPECT_TRUE(code.startsWith(QStringLiteral("$tsl_file_name = \"data.csv\";\r\n"
                                               "$tsl_first_raw = \"name,comments,photo\\n\";\r\n")));
    EXPECT_TRUE(code.contains(QStringLiteral("\r\n$tsl_values = $tsl_csv_value($name) . \",\" . "
                                             "$tsl_csv_value(str_replace (\"\\r\\n\",\"<BR>\",$comments )) "
                                             ". \",\" . $tsl_csv_value($photo_Name) . \"\\n\";\r\n")));
    EXPECT_EQ(code.count(QStringLiteral("die(")), 3);
    EXPECT_TRUE(code.endsWith(QStringLiteral("fclose($tsl_handle);\r\n")));

    csv.show_errors = false;
    EXPECT_EQ(csv.get_csv_code().count(QStringLiteral("die(")), 0);

    for (const auto &entry : *page.form->fields())
        entry.value->in_csv = false;
    const QString empty = csv.get_csv_code();
    EXPECT_TRUE(empty.contains(QStringLiteral("$tsl_first_raw = \"\\n\";\r\n")));
    EXPECT_TRUE(empty.contains(QStringLiteral("$tsl_values = \"\\n\";\r\n")));
}

TEST(HtmlConverter, ColoursAndFonts)
{
    EXPECT_EQ(Html_converter::color_to_html(0x0000FF), QStringLiteral("#FF0000"));
    EXPECT_EQ(Html_converter::color_to_html(0xFF0000), QStringLiteral("#0000FF"));
    EXPECT_EQ(Html_converter::color_to_html(0), QStringLiteral("#000000"));
    EXPECT_EQ(Html_converter::color_to_html(0x0A0B0C), QStringLiteral("#0C0B0A"));
    EXPECT_EQ(Html_converter::color_to_html(static_cast<qint32>(0x80000012)), QStringLiteral("#120000"));

    FontSpec arial { QStringLiteral("Arial"), 10, true };
    EXPECT_EQ(Html_converter::text_to_html(QStringLiteral("Thanks"), arial, 0),
        QStringLiteral("<p align='center'><b><font face='Arial' size='2' color='#000000'>Thanks</font></b></p>"));

    const std::pair<double, char> sizes[]
        = { { 8, '1' }, { 8.25, '2' }, { 12, '3' }, { 12.5, '4' }, { 24, '6' }, { 36, '7' } };
    for (const auto &[points, html] : sizes) {
        FontSpec font { QStringLiteral("Times"), points };
        EXPECT_TRUE(
            Html_converter::text_to_html(QString(), font, 0).contains(QStringLiteral("size='") + QLatin1Char(html)))
            << points;
    }
    FontSpec all { QStringLiteral("X"), 10, true, true, true, true };
    const QString html = Html_converter::text_to_html(QStringLiteral("t"), all, 0);
    EXPECT_TRUE(html.startsWith(QStringLiteral("<p align='center'><b><i><u><strike><font ")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</font></strike></u></i></b></p>")));
}

TEST_F(Generators, SettingsAndSetupFiles)
{
    lib settings;
    settings.host = QStringLiteral("db.example.com");
    settings.password = QStringLiteral("p\"$w");
    EXPECT_EQ(settings.get_lib_code(),
        QStringLiteral("$host = \"db.example.com\";\r\n$username = \"\";\r\n"
                       "$password = \"p\\\"\\$w\";\r\n$db = \"\";\r\n$table =\"\";\r\n"));

    Field &c1 = page.add(QStringLiteral("c1"));
    c1.mysql_field = QStringLiteral("c1");
    c1.sql_type = QStringLiteral("varchar");
    c1.sql_length = QStringLiteral("(50)");
    Field &unmapped = page.add(QStringLiteral("other"));
    unmapped.sql_type = QStringLiteral("int");
    sql &setup = *globals::sql_script();
    setup.mysql_table = QStringLiteral("t");
    setup.primary_key = QStringLiteral("c1");
    EXPECT_TRUE(setup.get_sql_code().contains(
        QStringLiteral("\r\n$sql = \"CREATE TABLE IF NOT EXISTS`t` (`c1` varchar (50) ,PRIMARY KEY(`c1`))\";\r\n")));
}

TEST_F(Generators, ScriptLayoutWithEmbeddedResult)
{
    page.prefs().is_embeded_result_page = true;
    page.prefs().is_header = true;
    page.prefs().is_footer = true;
    page.prefs().header_img = QStringLiteral("header.html");
    page.prefs().footer_img = QStringLiteral("footer.html");
    page.prefs().success_message = QStringLiteral("<p align='center'>Thanks \"$you\"</p>");
    page.form->is_send_ip = false;
    page.add(QStringLiteral("plain"));
    Field &empty_rule = page.add(QStringLiteral("ranged"));
    empty_rule.validation_type = 0; // no operator set: the rule has no text

    const QString text = CPHP_script().script_text();
    const QString rule = QStringLiteral("# ") + QString(52, QLatin1Char('-'));
    EXPECT_TRUE(text.startsWith(QStringLiteral("<?php\r\n") + rule
        + QStringLiteral("\r\n# -----\r\n"
                         "# ----- This script was generated by Tressel 1.2.6 on ")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n# -----\r\n# -----\r\n") + rule
        + QStringLiteral("\r\n\r\n\r\ninclude(\"header.html\");\r\n// Receiving variables\r\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("// Banned IP addresses")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n\r\n// Validation\r\n\r\n echo(")));
    EXPECT_TRUE(text.endsWith(QStringLiteral(
        " echo(\"<p align='center'>Thanks \\\"\\$you\\\"</p>\");\r\ninclude(\"footer.html\");\r\n?>\r\n")));
}

TEST_F(Generators, ScriptLayoutWithRedirects)
{
    page.prefs().is_header = true;
    page.prefs().is_footer = true;
    page.prefs().success_page = QStringLiteral("thanks.html");
    globals::web_page()->blocked_ips()->Add(QStringLiteral("10.0.0.1"));
    const QString text = CPHP_script().script_text();
    EXPECT_FALSE(text.contains(QStringLiteral("include(")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n// Banned IP addresses \r\nif (file_exists(\"blockedIPs.txt\"))")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("header(\"Location: thanks.html\");\r\n\r\n?>\r\n")));
}

} // namespace
