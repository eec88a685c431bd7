// Editing through a result set: pending values, AutoUpdate on moves, new
// rows, deletes, and the rows the server ends up holding.
#include "TestServer.h"
#include "support/QtPrinters.h"

#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MYSQL_RS.h"
#include "mysql/MySQL_Field.h"
#include "mysql/mysql_value.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

class Editing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(database.ok());
        const TestServer &server = database.server();
        connection = std::make_shared<MYSQL_CONNECTION>();
        ASSERT_EQ(connection->OpenConnection(server.host, server.user, server.password, database.name(), server.port),
            MYSQL_CONNECTION::Open);
        database.exec({
            QStringLiteral(
                "CREATE TABLE people (id INT PRIMARY KEY, name VARCHAR(40), note TEXT NULL, born DATE NULL)"),
            QStringLiteral(
                "INSERT INTO people VALUES (1, 'ann', 'a', NULL), (2, 'bob', 'b', NULL), (3, 'cy', 'c', NULL)"),
            QStringLiteral("CREATE TABLE loose (name VARCHAR(40), note TEXT NULL)"),
            QStringLiteral("INSERT INTO loose VALUES ('ann', 'a'), ('bob', 'b')"),
        });
    }

    std::shared_ptr<MYSQL_RS> people()
    {
        return connection->Execute(QStringLiteral("SELECT id, name, note, born FROM people ORDER BY id"));
    }
    QStringList names() { return database.column(QStringLiteral("SELECT name FROM people ORDER BY id")); }

    TestDatabase database;
    std::shared_ptr<MYSQL_CONNECTION> connection;
};

TEST_F(Editing, MovingDropsAPendingEditWhenAutoUpdateIsOff)
{
    const auto rs = people();
    rs->fields(QStringLiteral("name"))->set_Value(QStringLiteral("anna"));
    EXPECT_EQ(rs->EditMode(), 1);
    // Until written, the row reads its own value.
    EXPECT_EQ(rs->fields(QStringLiteral("name"))->Value().toString(), QStringLiteral("ann"));
    rs->MoveNext();
    EXPECT_EQ(rs->EditMode(), 0);
    rs->MovePrevious();
    EXPECT_EQ(rs->fields(QStringLiteral("name"))->Value().toString(), QStringLiteral("ann"));

    // CancelUpdate drops it as well, whatever AutoUpdate says later.
    rs->fields(1)->set_Value(QStringLiteral("x"));
    rs->CancelUpdate();
    EXPECT_EQ(rs->EditMode(), 0);
    EXPECT_EQ(rs->Update(), -1);
    connection->set_AutoUpdate(true);
    rs->MoveNext();
    EXPECT_EQ(names(), (QStringList { "ann", "bob", "cy" }));
}

TEST_F(Editing, MovingWritesAPendingEditWhenAutoUpdateIsOn)
{
    connection->set_AutoUpdate(true);
    const auto rs = people();
    rs->MoveNext();
    rs->fields(QStringLiteral("name"))->set_Value(QStringLiteral("bobby"));
    rs->fields(QStringLiteral("note"))->set_Value(mysql_value::Null());
    rs->MoveNext();
    EXPECT_EQ(rs->EditMode(), 0);
    EXPECT_EQ(names(), (QStringList { "ann", "bobby", "cy" }));
    EXPECT_EQ(database.column(QStringLiteral("SELECT note FROM people WHERE id = 2")), QStringList { "(null)" });
    // The buffered row is old, yet the row shows what was written.
    rs->MovePrevious();
    EXPECT_EQ(rs->fields(1)->Value().toString(), QStringLiteral("bobby"));
    EXPECT_TRUE(rs->fields(2)->Value().isNull());
    EXPECT_EQ(rs->fields(0)->Value().toString(), QStringLiteral("2"));

    // Moving past the last row finds no row to write to: the edit is lost.
    rs->MoveLast();
    rs->fields(1)->set_Value(QStringLiteral("lost"));
    rs->MoveNext();
    EXPECT_TRUE(rs->EOF_());
    EXPECT_EQ(rs->EditMode(), 0);
    EXPECT_EQ(names(), (QStringList { "ann", "bobby", "cy" }));
}

TEST_F(Editing, UpdateWritesOnlyTheValuesNotYetWritten)
{
    const auto rs = people();
    rs->fields(QStringLiteral("name"))->set_Value(QStringLiteral("anna"));
    EXPECT_EQ(rs->Update(), 1);
    EXPECT_EQ(rs->EditMode(), 0);
    EXPECT_EQ(rs->fields(QStringLiteral("name"))->Value().toString(), QStringLiteral("anna"));
    EXPECT_EQ(rs->Update(), -1); // nothing pending

    // Someone else renames the row; writing the note must not undo that.
    database.exec(QStringLiteral("UPDATE people SET name = 'other' WHERE id = 1"));
    rs->fields(QStringLiteral("note"))->set_Value(QStringLiteral("new note"));
    EXPECT_EQ(rs->Update(), 1);
    EXPECT_EQ(database.column(QStringLiteral("SELECT CONCAT(name, '/', note) FROM people WHERE id = 1")),
        QStringList { "other/new note" });
}

TEST_F(Editing, TextIsStoredExactlyWhateverItHolds)
{
    const QString tricky = QStringLiteral("O'Brien \"quoted\" back\\slash\ttab\nline\rreturn ") + QChar(0)
        + QStringLiteral(" ') ; DROP TABLE people; -- \x08 Zoë 😀");
    const auto rs = people();
    rs->fields(QStringLiteral("note"))->set_Value(tricky);
    ASSERT_EQ(rs->Update(), 1) << connection->Error()->Description().toStdString();
    const RawRows stored = database.rows(QStringLiteral("SELECT note FROM people WHERE id = 1"));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(QString::fromUtf8(*stored[0][0]), tricky);
    EXPECT_EQ(names(), (QStringList { "ann", "bob", "cy" }));
}

TEST_F(Editing, DateColumnsTakeDatesAndTurnAnythingElseIntoTheZeroDate)
{
    const auto rs = people();
    rs->fields(QStringLiteral("born"))->set_Value(QDate(2005, 3, 4));
    EXPECT_EQ(rs->Update(), 1);
    rs->MoveNext();
    rs->fields(QStringLiteral("born"))->set_Value(QStringLiteral("1999-12-31"));
    EXPECT_EQ(rs->Update(), 1);
    rs->MoveNext();
    rs->fields(QStringLiteral("born"))->set_Value(QStringLiteral("next tuesday"));
    EXPECT_EQ(rs->Update(), 1);
    // The row shows what the server was given.
    EXPECT_EQ(rs->fields(QStringLiteral("born"))->Value().toString(), QStringLiteral("0000-00-00"));
    rs->MoveFirst();
    EXPECT_EQ(rs->fields(QStringLiteral("born"))->Value().toString(), QStringLiteral("2005-03-04"));
    EXPECT_EQ(database.column(QStringLiteral("SELECT born FROM people ORDER BY id")),
        (QStringList { "2005-03-04", "1999-12-31", "0000-00-00" }));
}

TEST_F(Editing, AddNewInsertsARowThatRequeryShows)
{
    const auto rs = people();
    ASSERT_EQ(rs->AddNew(), 0);
    EXPECT_EQ(rs->EditMode(), 2);
    EXPECT_EQ(rs->AddNew(), -1); // one new row at a time
    rs->fields(QStringLiteral("id"))->set_Value(4);
    rs->fields(QStringLiteral("name"))->set_Value(QStringLiteral("di'd"));
    rs->fields(QStringLiteral("born"))->set_Value(QDate(2001, 2, 3));
    // The current row is not touched by a new row's values.
    EXPECT_EQ(rs->fields(QStringLiteral("name"))->Value().toString(), QStringLiteral("ann"));
    EXPECT_EQ(rs->Update(), 1);
    EXPECT_EQ(rs->EditMode(), 0);
    EXPECT_EQ(database.column(QStringLiteral("SELECT CONCAT(name, ' ', born) FROM people WHERE id = 4")),
        QStringList { "di'd 2001-02-03" });

    EXPECT_EQ(rs->RecordCount(), 3);
    rs->Requery();
    EXPECT_EQ(rs->RecordCount(), 4);
    rs->MoveLast();
    EXPECT_EQ(rs->fields(1)->Value().toString(), QStringLiteral("di'd"));

    // A new row left by a move is dropped, or written when AutoUpdate is on.
    rs->AddNew();
    rs->fields(0)->set_Value(5);
    rs->MovePrevious();
    connection->set_AutoUpdate(true);
    rs->AddNew();
    rs->fields(0)->set_Value(6);
    rs->MoveNext();
    EXPECT_EQ(database.column(QStringLiteral("SELECT id FROM people ORDER BY id")),
        (QStringList { "1", "2", "3", "4", "6" }));
}

TEST_F(Editing, RefusedInsertKeepsTheServerError)
{
    const auto rs = people();
    rs->AddNew();
    rs->fields(0)->set_Value(1); // already taken
    EXPECT_EQ(rs->Update(), 0);
    EXPECT_EQ(connection->Error()->Number(), 1062);
    EXPECT_EQ(rs->EditMode(), 0);
    EXPECT_EQ(rs->AddNew(), 0);
}

TEST_F(Editing, DeletedRowStaysInTheSetButCannotBeEdited)
{
    const auto rs = people();
    rs->MoveNext();
    EXPECT_EQ(rs->Delete(), 1);
    EXPECT_EQ(rs->EditMode(), 3);
    EXPECT_EQ(rs->AddNew(), -1);
    EXPECT_EQ(rs->Delete(), -1);
    rs->fields(1)->set_Value(QStringLiteral("ghost"));
    EXPECT_EQ(rs->Update(), -1);
    EXPECT_EQ(rs->fields(1)->Value().toString(), QStringLiteral("bob"));
    EXPECT_EQ(names(), (QStringList { "ann", "cy" }));
    rs->MoveNext();
    EXPECT_EQ(rs->EditMode(), 0);
    rs->MovePrevious();
    EXPECT_EQ(rs->EditMode(), 3);
}

TEST_F(Editing, TableWithoutPrimaryKeyIsNeverWritten)
{
    const auto rs = connection->Execute(QStringLiteral("SELECT name, note FROM loose"));
    rs->fields(1)->set_Value(QStringLiteral("changed"));
    EXPECT_EQ(rs->Update(), 0);
    EXPECT_EQ(rs->Delete(), 0);
    EXPECT_EQ(database.column(QStringLiteral("SELECT note FROM loose ORDER BY name")), (QStringList { "a", "b" }));
    // New rows need no key.
    EXPECT_EQ(rs->AddNew(), 0);
    rs->fields(0)->set_Value(QStringLiteral("cy"));
    EXPECT_EQ(rs->Update(), 1);
    EXPECT_EQ(database.column(QStringLiteral("SELECT COUNT(*) FROM loose")), QStringList { "3" });
}

TEST_F(Editing, PartOfACompositeKeyIsNotEnoughToFindTheRow)
{
    database.exec({ QStringLiteral("CREATE TABLE pairs (a INT, b INT, v VARCHAR(5), PRIMARY KEY (a, b))"),
        QStringLiteral("INSERT INTO pairs VALUES (1, 1, 'x'), (1, 2, 'y')") });
    const auto part = connection->Execute(QStringLiteral("SELECT a, v FROM pairs ORDER BY b"));
    part->fields(1)->set_Value(QStringLiteral("z"));
    EXPECT_EQ(part->Update(), 0);
    EXPECT_EQ(part->Delete(), 0);
    EXPECT_EQ(database.column(QStringLiteral("SELECT v FROM pairs ORDER BY b")), (QStringList { "x", "y" }));

    const auto whole = connection->Execute(QStringLiteral("SELECT a, b, v FROM pairs ORDER BY b"));
    whole->fields(2)->set_Value(QStringLiteral("z"));
    EXPECT_EQ(whole->Update(), 1);
    EXPECT_EQ(database.column(QStringLiteral("SELECT v FROM pairs ORDER BY b")), (QStringList { "z", "y" }));
}

TEST_F(Editing, JoinsAndComputedColumnsCannotBeEdited)
{
    database.exec({ QStringLiteral("CREATE TABLE pets (owner INT PRIMARY KEY, pet VARCHAR(10))"),
        QStringLiteral("INSERT INTO pets VALUES (1, 'cat')") });
    const auto join
        = connection->Execute(QStringLiteral("SELECT people.id, name, pet FROM people JOIN pets ON owner = id"));
    join->fields(QStringLiteral("pet"))->set_Value(QStringLiteral("dog"));
    EXPECT_EQ(join->Update(), -1);
    EXPECT_EQ(join->AddNew(), -1);
    EXPECT_EQ(join->Delete(), -1);

    const auto computed = connection->Execute(QStringLiteral("SELECT id, UPPER(name) AS loud FROM people"));
    computed->fields(QStringLiteral("loud"))->set_Value(QStringLiteral("X"));
    EXPECT_EQ(computed->EditMode(), 0);
    EXPECT_EQ(database.column(QStringLiteral("SELECT pet FROM pets")), QStringList { "cat" });
}

TEST_F(Editing, SearchResolvesAPendingEditOnlyWhenAsked)
{
    connection->set_AutoUpdate(true);
    const auto rs = people();
    rs->fields(1)->set_Value(QStringLiteral("anna"));
    EXPECT_EQ(rs->FindFirst(1, QStringLiteral("cy"), MYSQL_RS::ResolveAndMove), 3);
    EXPECT_EQ(rs->EditMode(), 0);
    EXPECT_EQ(names(), (QStringList { "anna", "bob", "cy" }));

    // A search that moves without resolving leaves the edit pending; it is
    // still written to its own row.
    rs->MoveFirst();
    rs->fields(2)->set_Value(QStringLiteral("for ann"));
    EXPECT_EQ(rs->FindFirst(1, QStringLiteral("bob")), 2);
    EXPECT_EQ(rs->EditMode(), 1);
    EXPECT_EQ(rs->Update(), 1);
    EXPECT_EQ(
        database.column(QStringLiteral("SELECT note FROM people ORDER BY id")), (QStringList { "for ann", "b", "c" }));
    EXPECT_EQ(rs->fields(1)->Value().toString(), QStringLiteral("bob"));
}

TEST_F(Editing, CloseAndRequeryResolveThePendingEdit)
{
    connection->set_AutoUpdate(true);
    auto rs = people();
    rs->fields(1)->set_Value(QStringLiteral("closed"));
    rs->CloseRecordset();
    EXPECT_EQ(names().first(), QStringLiteral("closed"));

    rs = people();
    rs->MoveLast();
    rs->fields(1)->set_Value(QStringLiteral("requeried"));
    rs->Requery();
    EXPECT_EQ(rs->EditMode(), 0);
    rs->MoveLast();
    EXPECT_EQ(rs->fields(1)->Value().toString(), QStringLiteral("requeried"));
}

} // namespace
