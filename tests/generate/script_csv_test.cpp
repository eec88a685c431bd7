// The CSV file after several posts, read back from its bytes.
#include "ScriptTest.h"

#include "generate/CSV.h"
#include "model/globals.h"

#include <QProcess>

namespace {

// Records of an RFC 4180 file: quoted values may hold separators, quotes
// (doubled) and line breaks.
QList<QByteArrayList> parse_csv(const QByteArray &data, char separator = ',')
{
    QList<QByteArrayList> records;
    QByteArrayList record;
    QByteArray value;
    bool quoted = false;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data.at(i);
        if (quoted) {
            if (c == '"' && i + 1 < data.size() && data.at(i + 1) == '"') {
                value += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                value += c;
            }
        } else if (c == '"' && value.isEmpty()) {
            quoted = true;
        } else if (c == separator) {
            record << value;
            value.clear();
        } else if (c == '\n') {
            if (value.endsWith('\r'))
                value.chop(1);
            record << value;
            records << record;
            record.clear();
            value.clear();
        } else {
            value += c;
        }
    }
    EXPECT_FALSE(quoted) << "unterminated quoted value";
    EXPECT_TRUE(value.isEmpty() && record.isEmpty()) << "record without line end";
    return records;
}

class Csv : public ScriptTest
{
protected:
    void SetUp() override
    {
        page.prefs().is_csv = true;
        page.prefs().success_message = QStringLiteral("ok");
        page.add(QStringLiteral("name"));
        page.add(QStringLiteral("comments"), QStringLiteral("textarea"));
        page.add(QStringLiteral("colors"), QStringLiteral("multi select"), QStringLiteral("colors[]"));
        page.add(QStringLiteral("email"), QStringLiteral("text"), QStringLiteral("e.mail"));
        page.add(QStringLiteral("secret")).in_csv = false;
        globals::csv_file()->filename = QStringLiteral("data.csv");
    }
};

TEST_F(Csv, HeaderOnceThenOneRecordPerPost)
{
    globals::csv_file()->EndLine = QStringLiteral("\\r\\n");
    ASSERT_EQ(post(PhpRequest()
                       .add("name", "Ann")
                       .add("comments", "first line\r\nsecond line")
                       .add("colors[]", "red")
                       .add("colors[]", "blue")
                       .add("e.mail", "ann@example.com")
                       .add("secret", "s3"))
                  .body,
        "ok");
    ASSERT_EQ(post(PhpRequest().add("name", "Bob, Jr.").add("comments", "He said \"hi\"\nbye")).body, "ok");
    ASSERT_EQ(post(PhpRequest().add("name", "=HYPERLINK(\"http://x\")").add("comments", "-5")).body, "ok");
    ASSERT_EQ(post(PhpRequest().add("name", "+1 (555) 0100").add("comments", "@cmd").add("e.mail", "-x")).body, "ok");

    const QByteArray data = read_file(QStringLiteral("data.csv"));
    EXPECT_TRUE(data.startsWith("name,comments,colors,email\r\nAnn,first line<BR>second line,red&blue,"));
    const QList<QByteArrayList> expected = {
        { "name", "comments", "colors", "email" },
        { "Ann", "first line<BR>second line", "red&blue", "ann@example.com" },
        { "Bob, Jr.", "He said \"hi\"\nbye", "", "" },
        { "'=HYPERLINK(\"http://x\")", "-5", "", "" },
        { "'+1 (555) 0100", "'@cmd", "", "'-x" },
    };
    EXPECT_EQ(parse_csv(data), expected);
}

TEST_F(Csv, ConcurrentPostsLoseNoRecord)
{
    page.write(php);
    QList<QProcess *> running;
    constexpr int kPosts = 12;
    // Each process posts its own number; all run at once.
    for (int i = 0; i < kPosts; ++i) {
        auto *process = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QByteArray body = "name=" + QByteArray::number(i);
        env.insert(QStringLiteral("REDIRECT_STATUS"), QStringLiteral("200"));
        env.insert(QStringLiteral("SCRIPT_FILENAME"), php.path(QStringLiteral("index.php")));
        env.insert(QStringLiteral("REQUEST_METHOD"), QStringLiteral("POST"));
        env.insert(QStringLiteral("CONTENT_TYPE"), QStringLiteral("application/x-www-form-urlencoded"));
        env.insert(QStringLiteral("CONTENT_LENGTH"), QString::number(body.size()));
        env.insert(QStringLiteral("REMOTE_ADDR"), QStringLiteral("127.0.0.1"));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(php.folder());
        process->start(QStringLiteral("php-cgi"), {});
        process->write(body);
        process->closeWriteChannel();
        running << process;
    }
    for (QProcess *process : running) {
        EXPECT_TRUE(process->waitForFinished(60000));
        delete process;
    }
    const auto records = parse_csv(read_file(QStringLiteral("data.csv")));
    ASSERT_EQ(records.size(), kPosts + 1);
    EXPECT_EQ(records.front().front(), "name");
    QSet<QByteArray> names;
    for (qsizetype i = 1; i < records.size(); ++i)
        names.insert(records.at(i).front());
    EXPECT_EQ(names.size(), kPosts);
}

TEST_F(Csv, BlankSeparatorAndUnwritableFile)
{
    globals::csv_file()->separator = QStringLiteral("   ");
    ASSERT_EQ(post(PhpRequest().add("name", "Ann Lee").add("comments", "x")).body, "ok");
    EXPECT_EQ(read_file(QStringLiteral("data.csv")), "name   comments   colors   email\nAnn Lee   x      \n");

    globals::csv_file()->filename = QStringLiteral("missing/folder/data.csv");
    EXPECT_EQ(post(PhpRequest()).body, "Cannot open file (missing/folder/data.csv)");
    globals::csv_file()->show_errors = false;
    EXPECT_EQ(post(PhpRequest()).body, "");
}

} // namespace
