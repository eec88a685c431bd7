// The client classes against the test server: the connection (opening,
// refusals, errors) and its result sets (loading, navigation at both ends,
// values and columns, searches, the HTML table, editing).
#include "TestServer.h"
#include "support/QtPrinters.h"

#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MYSQL_RS.h"
#include "mysql/MySQL_Field.h"
#include "mysql/mysql_variant.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

QString text(const std::shared_ptr<MYSQL_RS> &rs, const QVariant &column)
{
    return rs->fields(column)->Value().toString();
}

class ResultSet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(database.ok());
        connection = database.connect();
        database.exec("CREATE TABLE people (id INT PRIMARY KEY, name VARCHAR(40), note TEXT NULL, born DATE NULL); "
                      "INSERT INTO people (id, name, note) VALUES (1, 'ann', 'a'), (2, 'bob', 'b'), (3, 'cy', 'a'), "
                      "(4, 'di', NULL), (5, 'ed', '')");
    }

    std::shared_ptr<MYSQL_RS> people()
    {
        return connection->Execute("SELECT id, name, note, born FROM people ORDER BY id");
    }
    QStringList names() { return database.column("SELECT name FROM people ORDER BY id"); }

    TestDatabase database;
    std::shared_ptr<MYSQL_CONNECTION> connection;
};

// Tests of the connection itself, on the same table.
using Connection = ResultSet;

TEST_F(Connection, OpensOnTheDatabaseTalksUtf8mb4AndCloses)
{
    EXPECT_EQ(connection->Error()->Number(), 0);
    EXPECT_EQ(text(connection->Execute("SELECT DATABASE()"), 0), database.name());
    // Text beyond the basic plane goes both ways unchanged.
    EXPECT_EQ(text(connection->Execute("SELECT 'Zoë 😀'"), 0), "Zoë 😀");
    connection->CloseConnection();
    EXPECT_EQ(connection->State(), MYSQL_CONNECTION::Closed);
}

TEST_F(Connection, RefusalsKeepTheServersNumberAndTextAndStayClosed)
{
    const TestServer &server = database.server();
    const QString missing = database.name() + "_missing";
    for (const auto &[port, user, password, dbname, number, text_start] :
        std::vector<std::tuple<qint32, QString, QString, QString, qint32, QString>> {
            { closed_port(), server.user, server.password, "", 2002, "Can't connect to server on '127.0.0.1'" },
            { server.port, "nobody_here", server.password, "", 1045,
                "Access denied for user 'nobody_here'@'127.0.0.1' (using password: YES)" },
            { server.port, server.user, "wrong", "", 1045,
                "Access denied for user 'tressel'@'127.0.0.1' (using password: YES)" },
            { server.port, server.user, server.password, missing, 1049, "Unknown database '" + missing + "'" },
            // The library would take the port modulo 65536 and reach the server.
            { server.port + 65536, server.user, server.password, "", MYSQL_CONNECTION::kBadPort,
                MYSQL_CONNECTION::kBadPortText },
            { -1, server.user, server.password, "", MYSQL_CONNECTION::kBadPort, MYSQL_CONNECTION::kBadPortText },
            // Port 0, the default, to the library; the highest port is tried.
            { 65536, server.user, server.password, "", MYSQL_CONNECTION::kBadPort, MYSQL_CONNECTION::kBadPortText },
            { 65535, server.user, server.password, "", 2002, "Can't connect to server on '127.0.0.1'" } }) {
        EXPECT_EQ(connection->OpenConnection(server.host, user, password, dbname, port), MYSQL_CONNECTION::Closed);
        EXPECT_EQ(connection->Error()->Number(), number);
        EXPECT_TRUE(connection->Error()->Description().startsWith(text_start))
            << connection->Error()->Description().toStdString();
    }
}

TEST_F(Connection, ErrorsStayUntilTheNextStatement)
{
    qint32 affected = 9;
    EXPECT_EQ(connection->Execute("SELECT * FROM `tablé`", affected)->State(), MYSQL_RS::Closed);
    EXPECT_EQ(connection->Error()->Number(), 1146);
    EXPECT_EQ(connection->Error()->Description(), QString("Table '%1.tablé' doesn't exist").arg(database.name()));
    EXPECT_FALSE(connection->ConnectionLost());
    EXPECT_FALSE(connection->SelectDb(database.name() + "_missing"));
    EXPECT_EQ(connection->Error()->Description(), "Unknown database '" + database.name() + "_missing'");
    EXPECT_EQ(connection->dbname(), database.name());
    connection->Execute("DO 1", affected);
    EXPECT_EQ(connection->Error()->Number(), 0);
    EXPECT_EQ(connection->Error()->Description(), "");
    EXPECT_EQ(affected, 0);
    // Cut at the zero byte this would delete every row.
    connection->Execute(QString("DELETE FROM people") + QChar(0) + " WHERE id = 1");
    EXPECT_EQ(names().size(), 5);
    // A connection the server ended is lost.
    database.exec("KILL CONNECTION " + text(connection->Execute("SELECT CONNECTION_ID()"), 0));
    connection->Execute("DO 1");
    EXPECT_TRUE(connection->ConnectionLost()) << connection->Error()->Description().toStdString();
}

TEST_F(ResultSet, HoldsTheWholeResultOrJustTheCount)
{
    const auto rs = connection->Execute("  SELECT id, name FROM people ORDER BY id  ");
    EXPECT_EQ(rs->QueryString(), "SELECT id, name FROM people ORDER BY id");
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    EXPECT_EQ(text(rs, 1), "ann");
    // The result lives in client memory: the table may change meanwhile.
    database.exec("DELETE FROM people");
    rs->MoveLast();
    EXPECT_EQ(text(rs, 1), "ed");

    qint32 affected = 0;
    const auto insert = connection->Execute("INSERT INTO people (id, name) VALUES (7, 'x'), (8, 'y')", affected);
    EXPECT_EQ(insert->State(), MYSQL_RS::Closed);
    EXPECT_EQ(affected, 2);
    EXPECT_EQ(insert->AffectedRecords(), 2);
    EXPECT_EQ(connection->QueryInfo(), "Records: 2  Duplicates: 0  Warnings: 0");
    EXPECT_TRUE(insert->fields(0)->Value().isEmpty());
}

TEST_F(ResultSet, NavigationStopsOneRowPastEitherEnd)
{
    const auto rs = people();
    QStringList trace;
    for (const auto move :
        { &MYSQL_RS::MoveNext, &MYSQL_RS::MoveLast, &MYSQL_RS::MoveNext, &MYSQL_RS::MoveNext, &MYSQL_RS::MovePrevious,
            &MYSQL_RS::MoveFirst, &MYSQL_RS::MovePrevious, &MYSQL_RS::MovePrevious, &MYSQL_RS::MoveNext }) {
        ((*rs).*move)();
        trace << QString::number(rs->AbsolutePosition()) + (rs->BOF() ? " BOF" : "") + (rs->EOF_() ? " EOF" : "")
                + (rs->fields("name")->Value().isEmpty() ? "" : " " + text(rs, "name"));
    }
    EXPECT_EQ(
        trace, (QStringList { "2 bob", "5 ed", "-2 EOF", "-2 EOF", "5 ed", "1 ann", "-3 BOF", "-3 BOF", "1 ann" }));
    for (const qint32 outside : { 0, 6, -1 })
        rs->set_AbsolutePosition(outside); // ignored
    EXPECT_EQ(rs->AbsolutePosition(), 1);

    const auto none = connection->Execute("SELECT name FROM people WHERE id > 9");
    EXPECT_EQ(none->State(), MYSQL_RS::Open);
    EXPECT_TRUE(none->BOF() && none->EOF_());
    EXPECT_EQ(none->AbsolutePosition(), -1);

    // Every row of a large result is reached, whatever the jump.
    const auto many = connection->Execute("SELECT seq, CONCAT('v', seq) FROM seq_1_to_5000");
    for (const qint32 row : { 4999, 2, 5000, 1, 2500 }) {
        many->set_AbsolutePosition(row);
        EXPECT_EQ(text(many, 1), "v" + QString::number(row));
    }
    many->MovePrevious();
    EXPECT_EQ(text(many, 0), "2499");
}

TEST_F(ResultSet, NullEmptyTextAndZeroByteComeBackUnderAnyCaseOfTheirNames)
{
    const auto rs = connection->Execute("SELECT NULL AS Nothing, '' AS blank, CONCAT('a', CHAR(0), 'b') AS zero, "
                                        "'second' AS Zero");
    EXPECT_TRUE(rs->fields("NOTHING")->Value().isNull());
    EXPECT_EQ(rs->fields("Blank")->Value(), MySQL_Value(QString()));
    // Of two columns of one name the first is found.
    EXPECT_EQ(text(rs, "ZERO"), QString("a") + QChar(0) + "b");
    // A text that reads as a number is a column number.
    EXPECT_EQ(rs->fields("0")->name(), "Nothing");
    EXPECT_TRUE(rs->fields("missing")->Value().isEmpty());
}

TEST_F(ResultSet, SearchesReturnTheRowAndMoveOnlyWhenAsked)
{
    using FindOp = qint32 (MYSQL_RS::*)(const QVariant &, const QVariant &, qint32);
    const FindOp First = &MYSQL_RS::FindFirst, Last = &MYSQL_RS::FindLast, Next = &MYSQL_RS::FindNext,
                 Previous = &MYSQL_RS::FindPrevious;
    const qint32 Move = MYSQL_RS::MoveToFound;
    const auto rs = people();
    // Notes by row: a, b, a, NULL, "".
    for (const auto &[label, start, op, field, value, mode, found, position_after] :
        std::vector<std::tuple<const char *, qint32, FindOp, QVariant, QVariant, qint32, qint32, qint32>> {
            { "report only", 1, First, "note", "b", MYSQL_RS::ReportOnly, 2, 1 },
            { "moves", 1, First, "note", "b", Move, 2, 2 },
            { "resolves then moves", 4, First, "note", "b", MYSQL_RS::ResolveAndMove, 2, 2 },
            { "values compare with case", 1, First, "note", "B", Move, -1, 1 },
            { "last", 1, Last, "note", "a", Move, 3, 3 },
            { "next skips the current row", 1, Next, "note", "a", Move, 3, 3 },
            { "next from the last match", 3, Next, "note", "a", Move, -1, 3 },
            { "previous", 3, Previous, "note", "a", Move, 1, 1 },
            { "previous from the first row", 1, Previous, "note", "a", Move, -1, 1 },
            { "empty text is not null", 1, First, "note", "", Move, 5, 5 },
            { "null matches nothing", 2, First, "note", mysql_variant::Null(), Move, -1, 2 },
            { "number never matches text", 1, First, 0, 3, Move, -1, 1 },
            { "text of a number does", 1, First, 0, "3", Move, 3, 3 },
            { "column number as text", 1, First, "2", "b", Move, 2, 2 },
            { "name without regard to case", 1, First, "NOTE", "b", Move, 2, 2 },
            { "unknown column", 2, Last, "w", "a", Move, -1, 2 } }) {
        SCOPED_TRACE(label);
        rs->set_AbsolutePosition(start);
        EXPECT_EQ(((*rs).*op)(field, value, mode), found);
        EXPECT_EQ(rs->AbsolutePosition(), position_after);
        EXPECT_EQ(text(rs, 0).toInt(), position_after); // the row under the position is loaded
    }
}

TEST_F(ResultSet, HtmlTableEscapesShowsBlanksAndKeepsThePosition)
{
    const auto rs = connection->Execute("SELECT name, note FROM people WHERE id IN (1, 4, 5) ORDER BY id");
    rs->MoveNext();
    EXPECT_EQ(rs->RsToHtmlTable(),
        "<table border=1><tr><td>ann</td><td>a</td></tr>\r\n<tr><td>di</td><td>&nbsp;</td></tr>\r\n"
        "<tr><td>ed</td><td>&nbsp;</td></tr>\r\n</table>\r\n");
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    EXPECT_EQ(text(rs, 0), "di");
    EXPECT_EQ(connection->Execute("SELECT '<script>alert(\"x\")</script>', 'Tom & Jerry'")->RsToHtmlTable(),
        "<table border=1><tr><td>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;</td><td>Tom &amp; Jerry</td>"
        "</tr>\r\n</table>\r\n");
    EXPECT_EQ(connection->Execute("SELECT name FROM people WHERE id > 9")->RsToHtmlTable(), "");
}

TEST_F(ResultSet, PendingEditIsDroppedOrWrittenOnMoveAsAutoUpdateSays)
{
    const auto rs = people();
    rs->fields("name")->set_Value("anna");
    EXPECT_EQ(rs->EditMode(), 1);
    EXPECT_EQ(text(rs, "name"), "ann"); // until written, the row reads its own value
    rs->MoveNext();
    EXPECT_EQ(rs->EditMode(), 0);
    rs->fields("name")->set_Value("x");
    rs->CancelUpdate(); // dropped too, whatever AutoUpdate says later
    EXPECT_EQ(rs->Update(), -1);
    connection->set_AutoUpdate(true);
    rs->MoveNext();
    EXPECT_EQ(names(), (QStringList { "ann", "bob", "cy", "di", "ed" }));

    rs->fields("name")->set_Value("cyd");
    rs->fields("note")->set_Value(mysql_variant::Null());
    rs->MoveNext();
    EXPECT_EQ(rs->EditMode(), 0);
    EXPECT_EQ(database.column("SELECT CONCAT(name, IFNULL(note, ' null')) FROM people WHERE id = 3"),
        QStringList { "cyd null" });
    // The buffered row is old, yet the row shows what was written.
    rs->MovePrevious();
    EXPECT_EQ(text(rs, "name"), "cyd");
    EXPECT_TRUE(rs->fields("note")->Value().isNull());
    rs->fields("name")->set_Value("closed");
    rs->CloseRecordset();
    EXPECT_EQ(names().at(2), "closed");

    // Moving past either end from an edited row still writes the edit.
    const auto walk = people();
    walk->MoveLast();
    walk->fields("name")->set_Value("last");
    walk->MoveNext();
    EXPECT_TRUE(walk->EOF_());
    walk->MoveFirst();
    walk->fields("name")->set_Value("first");
    walk->MovePrevious();
    EXPECT_TRUE(walk->BOF());
    EXPECT_EQ(names().front(), "first");
    EXPECT_EQ(names().back(), "last");

    // A search resolves a pending edit only when asked, and writes it to its own row.
    walk->MoveFirst();
    walk->fields("name")->set_Value("anna");
    EXPECT_EQ(walk->FindFirst("name", "closed", MYSQL_RS::ResolveAndMove), 3);
    EXPECT_EQ(walk->EditMode(), 0);
    EXPECT_EQ(names().first(), "anna");
    walk->MoveFirst();
    walk->fields("note")->set_Value("for ann");
    EXPECT_EQ(walk->FindFirst("name", "bob"), 2);
    EXPECT_EQ(walk->EditMode(), 1);
    EXPECT_EQ(walk->Update(), 1);
    EXPECT_EQ(database.column("SELECT note FROM people WHERE id < 3 ORDER BY id"), (QStringList { "for ann", "b" }));
    EXPECT_EQ(text(walk, "name"), "bob");
}

// Values and keys reach the server as one literal each, whether or not the
// connection's SQL mode reads backslashes as escapes.
struct SqlMode
{
    const char *label, *mode;
    friend void PrintTo(const SqlMode &mode, std::ostream *out) { *out << mode.label; }
};

class EditUnder : public ResultSet, public ::testing::WithParamInterface<SqlMode>
{
protected:
    void SetUp() override
    {
        ResultSet::SetUp();
        connection->Execute(QString("SET SESSION sql_mode = '%1'").arg(GetParam().mode));
        ASSERT_EQ(connection->Error()->Number(), 0) << connection->Error()->Description().toStdString();
    }
};

TEST_P(EditUnder, UpdateWritesOnlyThePendingValuesExactlyAsGiven)
{
    const QString tricky
        = QString("O'Brien \"quoted\" back\\slash\ttab\nline ") + QChar(0) + " ') ; DROP TABLE people; -- Zoë 😀";
    const auto rs = people();
    rs->fields("name")->set_Value("anna");
    EXPECT_EQ(rs->Update(), 1);
    EXPECT_EQ(text(rs, "name"), "anna");
    EXPECT_EQ(rs->Update(), -1); // nothing pending
    // Someone else renames the row; writing the note must not undo that.
    database.exec("UPDATE people SET name = 'other' WHERE id = 1");
    rs->fields("note")->set_Value(tricky);
    ASSERT_EQ(rs->Update(), 1) << connection->Error()->Description().toStdString();
    EXPECT_EQ(database.rows("SELECT name, note FROM people WHERE id = 1"), (RawRows { { "other", tricky.toUtf8() } }));
    EXPECT_EQ(names().size(), 5);

    // Escaped with a backslash, the quote would end the text where backslashes
    // are plain characters; the rest would then set every row's name and
    // comment out the key condition.
    const QString hostile = "' , name=0x70776E6564 -- ";
    rs->MoveNext();
    rs->fields("note")->set_Value(hostile);
    ASSERT_EQ(rs->Update(), 1) << connection->Error()->Description().toStdString();
    EXPECT_EQ(names(), (QStringList { "other", "bob", "cy", "di", "ed" }));
    EXPECT_EQ(database.column("SELECT note FROM people WHERE id = 2"), QStringList { hostile });
}

TEST_P(EditUnder, KeysHoldingQuotesAndBackslashesFindTheirOwnRow)
{
    database.exec("CREATE TABLE tags (tag VARCHAR(40) PRIMARY KEY, n INT); INSERT INTO tags VALUES "
                  "('a\\\\'' OR ''1''=''1', 1), ('b', 2), ('c', 3)");
    const auto rs = connection->Execute("SELECT tag, n FROM tags ORDER BY n");
    ASSERT_EQ(text(rs, "tag"), "a\\' OR '1'='1");
    rs->fields("n")->set_Value(10);
    EXPECT_EQ(rs->Update(), 1);
    EXPECT_EQ(rs->Delete(), 1);
    rs->MoveNext();
    ASSERT_EQ(rs->AddNew(), 0);
    rs->fields("tag")->set_Value("d\\'");
    rs->fields("n")->set_Value(4);
    EXPECT_EQ(rs->Update(), 1);
    EXPECT_EQ(
        database.column("SELECT CONCAT(tag, '=', n) FROM tags ORDER BY n"), (QStringList { "b=2", "c=3", "d\\'=4" }));
}

INSTANTIATE_TEST_SUITE_P(SqlModes, EditUnder,
    ::testing::Values(SqlMode { "backslash_escapes", "STRICT_TRANS_TABLES" },
        SqlMode { "no_backslash_escapes", "STRICT_TRANS_TABLES,NO_BACKSLASH_ESCAPES" }),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(ResultSet, DeleteRemovesARowAndAddNewInsertsOneWrittenOrDroppedLikeAnEdit)
{
    const auto rs = people();
    // A deleted row stays in the set but cannot be edited.
    rs->MoveNext();
    EXPECT_EQ(rs->Delete(), 1);
    EXPECT_EQ(rs->EditMode(), 3);
    EXPECT_EQ(rs->Delete(), -1);
    rs->fields("name")->set_Value("ghost");
    EXPECT_EQ(rs->Update(), -1);
    EXPECT_EQ(text(rs, "name"), "bob");
    EXPECT_EQ(names(), (QStringList { "ann", "cy", "di", "ed" }));

    rs->MoveFirst();
    ASSERT_EQ(rs->AddNew(), 0);
    EXPECT_EQ(rs->AddNew(), -1); // one new row at a time
    rs->fields("id")->set_Value(6);
    rs->fields("name")->set_Value("fa'y");
    rs->fields("born")->set_Value(QDate(2001, 2, 3));
    EXPECT_EQ(text(rs, "name"), "ann"); // the current row is not touched
    EXPECT_EQ(rs->Update(), 1);
    EXPECT_EQ(
        database.column("SELECT CONCAT(name, ' ', born) FROM people WHERE id = 6"), QStringList { "fa'y 2001-02-03" });
    rs->Requery();
    EXPECT_EQ(rs->RecordCount(), 5);

    rs->AddNew();
    rs->fields("id")->set_Value(1);
    EXPECT_EQ(rs->Update(), 0);
    EXPECT_EQ(connection->Error()->Number(), 1062);
    EXPECT_EQ(connection->Error()->Description(), "Duplicate entry '1' for key 'PRIMARY'");

    rs->AddNew();
    rs->fields("id")->set_Value(7);
    rs->MoveNext();
    connection->set_AutoUpdate(true);
    rs->AddNew();
    rs->fields("id")->set_Value(8);
    rs->MoveNext();
    EXPECT_EQ(database.column("SELECT id FROM people WHERE id > 5 ORDER BY id"), (QStringList { "6", "8" }));
}

TEST_F(ResultSet, RowsAreChangedOnlyWhereTheWholePrimaryKeyFindsThem)
{
    database.exec("CREATE TABLE loose (name VARCHAR(9), note TEXT); INSERT INTO loose VALUES ('ann', 'a'), "
                  "('bob', 'b'); CREATE TABLE pairs (a INT, b INT, v VARCHAR(5), PRIMARY KEY (a, b)); "
                  "INSERT INTO pairs VALUES (1, 1, 'x'), (1, 2, 'y')");
    const auto loose = connection->Execute("SELECT name, note FROM loose");
    loose->fields("note")->set_Value("changed");
    EXPECT_EQ(loose->Update(), 0);
    EXPECT_EQ(loose->Delete(), 0);
    ASSERT_EQ(loose->AddNew(), 0); // new rows need no key
    loose->fields("name")->set_Value("cy");
    EXPECT_EQ(loose->Update(), 1);
    EXPECT_EQ(database.column("SELECT IFNULL(note, '-') FROM loose ORDER BY name"), (QStringList { "a", "b", "-" }));

    // Part of a composite key could match other rows too; so could a join.
    const auto part = connection->Execute("SELECT a, v FROM pairs ORDER BY b");
    connection->Execute("SELECT * FROM no_such_table");
    part->fields("v")->set_Value("z");
    EXPECT_EQ(part->Update(), 0);
    EXPECT_EQ(part->Delete(), 0);
    // The key was looked up unseen: the connection still tells of the
    // caller's last statement.
    EXPECT_EQ(connection->QueryString(), "SELECT * FROM no_such_table");
    EXPECT_EQ(connection->Error()->Number(), 1146);
    const auto join = connection->Execute("SELECT id, v FROM people JOIN pairs ON a = id");
    join->fields("v")->set_Value("j");
    EXPECT_EQ(join->Update(), -1);
    const auto whole = connection->Execute("SELECT a, b, v FROM pairs ORDER BY b");
    whole->fields("v")->set_Value("z");
    EXPECT_EQ(whole->Update(), 1);
    EXPECT_EQ(database.column("SELECT v FROM pairs ORDER BY b"), (QStringList { "z", "y" }));
}

} // namespace
