// Searches over a result set and its HTML rendering.
#include "TestServer.h"
#include "support/QtPrinters.h"

#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MYSQL_RS.h"
#include "mysql/MySQL_Field.h"
#include "mysql/mysql_value.h"

#include <gtest/gtest.h>

namespace {

class Letters : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(database.ok());
        const TestServer &server = database.server();
        connection = std::make_shared<MYSQL_CONNECTION>();
        ASSERT_EQ(connection->OpenConnection(server.host, server.user, server.password, database.name(), server.port),
            MYSQL_CONNECTION::Open);
        // Rows: 1 a 5, 2 b NULL, 3 a 7, 4 NULL 8, 5 '' 9.
        database.exec({
            QStringLiteral("CREATE TABLE letters (id INT PRIMARY KEY, v VARCHAR(5) NULL, n INT NULL)"),
            QStringLiteral("INSERT INTO letters VALUES (1, 'a', 5), (2, 'b', NULL), (3, 'a', 7), (4, NULL, 8), "
                           "(5, '', 9)"),
        });
        rs = connection->Execute(QStringLiteral("SELECT id, v, n FROM letters ORDER BY id"));
    }

    TestDatabase database;
    std::shared_ptr<MYSQL_CONNECTION> connection;
    std::shared_ptr<MYSQL_RS> rs;
};

enum class Op { First, Last, Next, Previous };

struct Search
{
    const char *label;
    qint32 start;
    Op op;
    QVariant field;
    QVariant value;
    qint32 mode;
    qint32 found;
    qint32 position_after;
};

void PrintTo(const Search &search, std::ostream *out)
{
    *out << search.label;
}

class Find : public Letters, public ::testing::WithParamInterface<Search>
{
};

TEST_P(Find, ReturnsTheRowAndMovesOnlyWhenAsked)
{
    const Search &search = GetParam();
    rs->set_AbsolutePosition(search.start);
    qint32 found = 0;
    switch (search.op) {
    case Op::First:
        found = rs->FindFirst(search.field, search.value, search.mode);
        break;
    case Op::Last:
        found = rs->FindLast(search.field, search.value, search.mode);
        break;
    case Op::Next:
        found = rs->FindNext(search.field, search.value, search.mode);
        break;
    case Op::Previous:
        found = rs->FindPrevious(search.field, search.value, search.mode);
        break;
    }
    EXPECT_EQ(found, search.found);
    EXPECT_EQ(rs->AbsolutePosition(), search.position_after);
    // The row under the position is the one loaded.
    EXPECT_EQ(rs->fields(0)->Value().toString().toInt(), search.position_after);
}

const QVariant v = QStringLiteral("v");
QVariant text(const char *value)
{
    return QString::fromUtf8(value);
}

INSTANTIATE_TEST_SUITE_P(Searches, Find,
    ::testing::Values(Search { "first_report_only", 1, Op::First, v, text("b"), MYSQL_RS::ReportOnly, 2, 1 },
        Search { "first_moves", 1, Op::First, v, text("b"), MYSQL_RS::MoveToFound, 2, 2 },
        Search { "first_resolves_then_moves", 4, Op::First, v, text("b"), MYSQL_RS::ResolveAndMove, 2, 2 },
        Search { "values_compare_with_case", 1, Op::First, v, text("B"), MYSQL_RS::MoveToFound, -1, 1 },
        Search { "last", 1, Op::Last, v, text("a"), MYSQL_RS::MoveToFound, 3, 3 },
        Search { "next_skips_the_current_row", 1, Op::Next, v, text("a"), MYSQL_RS::MoveToFound, 3, 3 },
        Search { "next_from_the_last_match", 3, Op::Next, v, text("a"), MYSQL_RS::MoveToFound, -1, 3 },
        Search { "next_from_the_last_row", 5, Op::Next, v, text(""), MYSQL_RS::MoveToFound, -1, 5 },
        Search { "previous", 3, Op::Previous, v, text("a"), MYSQL_RS::MoveToFound, 1, 1 },
        Search { "previous_from_the_first_row", 1, Op::Previous, v, text("a"), MYSQL_RS::MoveToFound, -1, 1 },
        Search { "empty_text_is_not_null", 1, Op::First, v, text(""), MYSQL_RS::MoveToFound, 5, 5 },
        Search { "null_matches_nothing", 2, Op::First, v, mysql_value::Null(), MYSQL_RS::MoveToFound, -1, 2 },
        Search { "number_never_matches_text", 1, Op::First, QVariant(2), QVariant(7), MYSQL_RS::MoveToFound, -1, 1 },
        Search { "text_of_a_number_does", 1, Op::First, QVariant(2), text("7"), MYSQL_RS::MoveToFound, 3, 3 },
        Search { "column_number_as_text", 1, Op::First, text("1"), text("b"), MYSQL_RS::MoveToFound, 2, 2 },
        Search { "name_without_regard_to_case", 1, Op::First, text("V"), text("b"), MYSQL_RS::MoveToFound, 2, 2 },
        // Blanks pass the column test, but the cursor finds no such column.
        Search { "name_with_blanks", 1, Op::First, text(" V "), text("b"), MYSQL_RS::MoveToFound, -1, 1 },
        Search { "column_out_of_range", 2, Op::First, QVariant(5), text("a"), MYSQL_RS::MoveToFound, -1, 2 },
        Search { "unknown_column", 2, Op::Last, text("w"), text("a"), MYSQL_RS::MoveToFound, -1, 2 }),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(Letters, SearchesNeedAnOpenSetWithRows)
{
    const auto none = connection->Execute(QStringLiteral("SELECT v FROM letters WHERE id > 9"));
    EXPECT_EQ(none->FindFirst(0, QStringLiteral("a")), -1);
    rs->CloseRecordset();
    EXPECT_EQ(rs->FindLast(1, QStringLiteral("a")), -1);
    EXPECT_EQ(rs->AbsolutePosition(), -1);
}

TEST_F(Letters, HtmlTableHasOneRowPerRecordAndKeepsThePosition)
{
    const auto two = connection->Execute(QStringLiteral("SELECT v FROM letters WHERE id < 3 ORDER BY id"));
    two->MoveNext();
    EXPECT_EQ(two->RsToHtmlTable(),
        QStringLiteral("<table border=1><tr><td>a</td></tr>\r\n"
                       "<tr><td>b</td></tr>\r\n</table>\r\n"));
    EXPECT_EQ(two->AbsolutePosition(), 2);
    EXPECT_EQ(two->fields(0)->Value().toString(), QStringLiteral("b"));

    // Null and empty values show as a blank cell.
    const auto blanks = connection->Execute(QStringLiteral("SELECT v, n FROM letters WHERE id >= 4 ORDER BY id"));
    EXPECT_EQ(blanks->RsToHtmlTable(),
        QStringLiteral("<table border=1><tr><td>&nbsp;</td><td>8</td></tr>\r\n"
                       "<tr><td>&nbsp;</td><td>9</td></tr>\r\n</table>\r\n"));
}

TEST_F(Letters, HtmlTableEscapesWhatTheDatabaseHolds)
{
    const auto markup = connection->Execute(QStringLiteral("SELECT '<script>alert(\"x\")</script>', 'Tom & Jerry'"));
    EXPECT_EQ(markup->RsToHtmlTable(),
        QStringLiteral("<table border=1><tr><td>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;</td>"
                       "<td>Tom &amp; Jerry</td></tr>\r\n</table>\r\n"));
}

TEST_F(Letters, HtmlTableOfNothingIsEmpty)
{
    EXPECT_EQ(connection->Execute(QStringLiteral("SELECT v FROM letters WHERE id > 9"))->RsToHtmlTable(), QString());
    EXPECT_EQ(connection->Execute(QStringLiteral("DELETE FROM letters WHERE id > 9"))->RsToHtmlTable(), QString());
}

} // namespace
