// Result sets over the test server: loading, navigation at both ends, the
// column cursor and the values it reads.
#include "TestServer.h"
#include "support/QtPrinters.h"

#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MYSQL_RS.h"
#include "mysql/MySQL_Field.h"
#include "mysql/mysql_value.h"

#include <gtest/gtest.h>

#include <mysql.h>

namespace {

class ResultSet : public ::testing::Test
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
            QStringLiteral("CREATE TABLE people (id INT PRIMARY KEY, name VARCHAR(40), note TEXT NULL)"),
            QStringLiteral("INSERT INTO people VALUES (1, 'ann', 'first'), (2, 'bob', NULL), (3, 'cy', '')"),
        });
    }

    std::shared_ptr<MYSQL_RS> query(const QString &text) { return connection->Execute(text); }

    TestDatabase database;
    std::shared_ptr<MYSQL_CONNECTION> connection;
};

TEST_F(ResultSet, HoldsTheWholeResultAndStartsOnTheFirstRow)
{
    const auto rs = query(QStringLiteral("  SELECT id, name, note FROM people ORDER BY id  "));
    EXPECT_EQ(rs->State(), MYSQL_RS::Open);
    EXPECT_EQ(rs->QueryString(), QStringLiteral("SELECT id, name, note FROM people ORDER BY id"));
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->FieldCount(), 3);
    EXPECT_EQ(rs->AffectedRecords(), 3); // the server counts the rows a SELECT returns
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    EXPECT_FALSE(rs->BOF());
    EXPECT_FALSE(rs->EOF_());
    EXPECT_EQ(rs->fields(1)->Value().toString(), QStringLiteral("ann"));
    // The result lives in client memory: the table may change meanwhile.
    database.exec(QStringLiteral("DELETE FROM people"));
    rs->MoveLast();
    EXPECT_EQ(rs->fields(1)->Value().toString(), QStringLiteral("cy"));
}

TEST_F(ResultSet, NavigationStopsOneRowPastEitherEnd)
{
    const auto rs = query(QStringLiteral("SELECT name FROM people ORDER BY id"));
    QStringList walked;
    for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext())
        walked << rs->fields(0)->Value().toString();
    EXPECT_EQ(walked, (QStringList { "ann", "bob", "cy" }));
    EXPECT_EQ(rs->AbsolutePosition(), -2);
    EXPECT_TRUE(rs->EOF_());
    EXPECT_FALSE(rs->BOF());
    EXPECT_TRUE(rs->fields(0)->Value().isEmpty());
    rs->MoveNext();
    EXPECT_EQ(rs->AbsolutePosition(), -2);
    rs->MovePrevious();
    EXPECT_EQ(rs->AbsolutePosition(), 3);
    EXPECT_EQ(rs->fields(0)->Value().toString(), QStringLiteral("cy"));

    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_EQ(rs->AbsolutePosition(), -3);
    EXPECT_TRUE(rs->BOF());
    EXPECT_FALSE(rs->EOF_());
    EXPECT_TRUE(rs->fields(0)->Value().isEmpty());
    rs->MovePrevious();
    EXPECT_EQ(rs->AbsolutePosition(), -3);
    rs->MoveNext();
    EXPECT_EQ(rs->fields(0)->Value().toString(), QStringLiteral("ann"));

    // Backwards, and by jumping, every row reads its own values.
    QStringList backwards;
    for (rs->MoveLast(); !rs->BOF(); rs->MovePrevious())
        backwards << rs->fields(0)->Value().toString();
    EXPECT_EQ(backwards, (QStringList { "cy", "bob", "ann" }));
    rs->set_AbsolutePosition(2);
    EXPECT_EQ(rs->fields(0)->Value().toString(), QStringLiteral("bob"));
    for (const qint32 outside : { 0, 4, -1 }) {
        rs->set_AbsolutePosition(outside);
        EXPECT_EQ(rs->AbsolutePosition(), 2) << outside;
    }
}

TEST_F(ResultSet, SelectWithoutRowsIsOpenButAtBothEnds)
{
    const auto rs = query(QStringLiteral("SELECT name FROM people WHERE id > 100"));
    EXPECT_EQ(rs->State(), MYSQL_RS::Open);
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_TRUE(rs->BOF());
    EXPECT_TRUE(rs->EOF_());
    EXPECT_EQ(rs->AbsolutePosition(), -1);
    EXPECT_TRUE(rs->fields(0)->Value().isEmpty());
    rs->MoveFirst();
    EXPECT_TRUE(rs->BOF());
    EXPECT_TRUE(rs->EOF_());
    rs->MoveLast();
    rs->MoveNext();
    EXPECT_EQ(rs->AbsolutePosition(), -1);
}

TEST_F(ResultSet, ClosedSetIgnoresMovesAndHasNoColumns)
{
    const auto rs = query(QStringLiteral("UPDATE people SET note = 'x' WHERE id < 3"));
    EXPECT_EQ(rs->AffectedRecords(), 2);
    rs->MoveNext();
    rs->MoveFirst();
    rs->set_AbsolutePosition(1);
    EXPECT_EQ(rs->AbsolutePosition(), -1);
    EXPECT_TRUE(rs->fields(0)->Value().isEmpty());
    EXPECT_EQ(rs->fields(0)->MySqlType(), 254);
}

TEST_F(ResultSet, NullEmptyTextZeroByteAndTextBeyondAsciiComeBackAsStored)
{
    database.exec({
        QStringLiteral("CREATE TABLE v (id INT PRIMARY KEY, t VARCHAR(20) NULL, b VARBINARY(20) NULL)"),
        QStringLiteral("INSERT INTO v VALUES (1, NULL, NULL), (2, '', ''), (3, CONCAT('a', CHAR(0), 'b'), "
                       "CONCAT('x', CHAR(0))), (4, 'Zoë 😀', NULL)"),
    });
    const auto rs = query(QStringLiteral("SELECT t, b FROM v ORDER BY id"));
    EXPECT_TRUE(rs->fields(0)->Value().isNull());
    EXPECT_TRUE(rs->fields(QStringLiteral("b"))->Value().isNull());
    rs->MoveNext();
    EXPECT_EQ(rs->fields(0)->Value(), MySQL_Value(QString()));
    EXPECT_FALSE(rs->fields(1)->Value().isNull());
    rs->MoveNext();
    EXPECT_EQ(rs->fields(0)->Value().toString(), QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    EXPECT_EQ(rs->fields(1)->Value().toString(), QStringLiteral("x") + QChar(0));
    rs->MoveNext();
    EXPECT_EQ(rs->fields(0)->Value().toString(), QStringLiteral("Zoë 😀"));
}

TEST_F(ResultSet, ColumnsAreFoundByNumberOrByNameWithoutRegardToCase)
{
    const auto rs = query(QStringLiteral("SELECT 'by name' AS `1`, 'by number' AS second, 'again' AS Second"));
    // A text that reads as a number is a column number.
    EXPECT_EQ(rs->fields(QStringLiteral("1"))->Value().toString(), QStringLiteral("by number"));
    EXPECT_EQ(rs->fields(QVariant(QStringLiteral(" 0 ")))->Value().toString(), QStringLiteral("by name"));
    EXPECT_EQ(rs->fields(QVariant(1.0))->Value().toString(), QStringLiteral("by number"));
    // Of two columns with one name the first wins.
    EXPECT_EQ(rs->fields(QStringLiteral("SECOND"))->Value().toString(), QStringLiteral("by number"));
    EXPECT_EQ(rs->fields("second")->name(), QStringLiteral("second"));

    for (const QVariant &missing :
        { QVariant(QStringLiteral("third")), QVariant(3), QVariant(-1), mysql_value::Null() }) {
        const auto &column = rs->fields(missing);
        EXPECT_TRUE(column->Value().isEmpty()) << missing.toString().toStdString();
        EXPECT_EQ(column->MySqlType(), 254);
        EXPECT_EQ(column->name(), QString());
        EXPECT_EQ(column->Length(), 0);
    }
}

TEST_F(ResultSet, OneSharedCursorFollowsTheLastColumnAsked)
{
    const auto rs = query(QStringLiteral("SELECT id, name FROM people ORDER BY id"));
    const std::shared_ptr<MySQL_Field> held = rs->fields(0);
    EXPECT_EQ(held->Value().toString(), QStringLiteral("1"));
    rs->fields(1);
    EXPECT_EQ(held->Value().toString(), QStringLiteral("ann"));
    EXPECT_EQ(held.get(), rs->fields(QStringLiteral("id")).get());

    // Once the set is closed, a cursor taken before reads nothing.
    rs->CloseRecordset();
    EXPECT_EQ(rs->State(), MYSQL_RS::Closed);
    EXPECT_EQ(rs->QueryString(), QString());
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_TRUE(held->Value().isEmpty());
    EXPECT_EQ(held->name(), QString());
    held->set_Value(QStringLiteral("ignored"));
    EXPECT_EQ(
        database.column(QStringLiteral("SELECT name FROM people ORDER BY id")), (QStringList { "ann", "bob", "cy" }));
}

TEST_F(ResultSet, ColumnDescriptionsComeFromTheServer)
{
    database.exec(QStringLiteral("CREATE TABLE d (k INT UNSIGNED NOT NULL PRIMARY KEY, price DECIMAL(8,2), "
                                 "born DATE, label VARCHAR(12))"));
    database.exec(QStringLiteral("INSERT INTO d VALUES (7, 12.50, '2005-03-04', 'seven')"));
    const auto rs = query(QStringLiteral("SELECT k, price, born, label, 1 + 1 AS two FROM d"));
    const auto &key = rs->fields(0);
    EXPECT_EQ(key->name(), QStringLiteral("k"));
    EXPECT_EQ(key->table(), QStringLiteral("d"));
    EXPECT_EQ(key->MySqlType(), MYSQL_TYPE_LONG);
    EXPECT_TRUE(key->Flags() & PRI_KEY_FLAG);
    EXPECT_TRUE(key->Flags() & UNSIGNED_FLAG);
    const auto &price = rs->fields(1);
    EXPECT_EQ(price->MySqlType(), MYSQL_TYPE_NEWDECIMAL);
    EXPECT_EQ(price->Decimals(), 2);
    EXPECT_EQ(price->Value().toString(), QStringLiteral("12.50"));
    EXPECT_EQ(rs->fields(2)->MySqlType(), MYSQL_TYPE_DATE);
    EXPECT_EQ(rs->fields(2)->Value().toString(), QStringLiteral("2005-03-04"));
    const auto &label = rs->fields(3);
    EXPECT_EQ(label->MySqlType(), MYSQL_TYPE_VAR_STRING);
    EXPECT_EQ(label->Length(), 12 * 4); // characters of up to four bytes
    EXPECT_EQ(label->MaxLength(), 5);
    EXPECT_FALSE(label->Flags() & PRI_KEY_FLAG);
    // A computed column belongs to no table.
    EXPECT_EQ(rs->fields(QStringLiteral("two"))->table(), QString());
}

TEST_F(ResultSet, TablesOfTheColumnsInColumnOrder)
{
    database.exec({ QStringLiteral("CREATE TABLE pets (owner INT, pet VARCHAR(10))"),
        QStringLiteral("INSERT INTO pets VALUES (1, 'cat')") });
    const auto join = query(QStringLiteral("SELECT p.name, q.pet, p.id FROM people p JOIN pets q ON q.owner = p.id"));
    EXPECT_EQ(join->TableCount(), 2);
    EXPECT_EQ(join->table(), QStringLiteral("p,q"));
    const auto computed = query(QStringLiteral("SELECT 1, 'x'"));
    EXPECT_EQ(computed->TableCount(), 0);
    EXPECT_EQ(computed->table(), QString());
    const auto one = query(QStringLiteral("SELECT name, id FROM people"));
    EXPECT_EQ(one->table(), QStringLiteral("people"));
    // Past the end no column is bound, so no table either.
    one->MoveLast();
    one->MoveNext();
    EXPECT_EQ(one->TableCount(), 0);
}

TEST_F(ResultSet, LargeResultReadsEveryRowWhereverTheWalkGoes)
{
    database.exec(QStringLiteral("CREATE TABLE n (i INT PRIMARY KEY, s VARCHAR(10))"));
    database.exec(QStringLiteral("INSERT INTO n SELECT seq, CONCAT('v', seq) FROM seq_1_to_5000"));
    const auto rs = query(QStringLiteral("SELECT i, s FROM n ORDER BY i"));
    ASSERT_EQ(rs->RecordCount(), 5000);
    qint64 sum = 0;
    for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext())
        sum += rs->fields(0)->Value().toString().toLongLong();
    EXPECT_EQ(sum, 5000LL * 5001 / 2);
    for (const qint32 row : { 4999, 2, 5000, 1, 2500 }) {
        rs->set_AbsolutePosition(row);
        EXPECT_EQ(rs->fields(1)->Value().toString(), QStringLiteral("v") + QString::number(row));
    }
    rs->MovePrevious();
    EXPECT_EQ(rs->fields(QStringLiteral("I"))->Value().toString().toInt(), 2499);
}

} // namespace
