#include "db/prepared_statement.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTemporaryDir>
#include <memory>

namespace sorvenka {
namespace {

struct Connection {
    Connection() {
        EXPECT_TRUE(dir.isValid());
        const QByteArray path = dir.filePath(QStringLiteral("t.sqlite3")).toUtf8();
        EXPECT_EQ(sqlite3_open(path.constData(), &db), SQLITE_OK);
        exec("create table t (a text, b real)");
    }
    ~Connection() { EXPECT_EQ(sqlite3_close(db), SQLITE_OK) << "a statement was left open"; }
    void exec(const char* sql) { ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), 0); }
    QTemporaryDir dir;
    sqlite3* db = nullptr;
};

TEST(PreparedStatement, TimesOfDayReadOnlyFromTheirExactForm) {
    Connection c;
    struct Case {
        const char* stored;
        int seconds;
    };
    const Case cases[] = {{"'00:00:00'", 0},
                          {"'23:59:59'", 86399},
                          {"'07:05:09'", 25509},
                          {"'24:00:00'", -1},
                          {"'12:60:00'", -1},
                          {"'12:00:60'", -1},
                          {"'1:00:00'", -1},
                          {"'12:00:00 '", -1},
                          {"'12-00-00'", -1},
                          {"''", -1},
                          {"NULL", -1},
                          {"120000", -1},
                          {"'１２:００:００'", -1}};
    for (const Case& k : cases) {
        const QByteArray sql = QByteArray("select ") + k.stored;
        PreparedStatement s(c.db, sql.constData());
        ASSERT_TRUE(s.next()) << k.stored;
        EXPECT_EQ(s.timeOfDay(0), k.seconds) << k.stored;
    }
}

TEST(PreparedStatement, AFailedStepOrPrepareIsToldWithTheEnginesMessage) {
    Connection c;
    {
        PreparedStatement missing(c.db, "select a from nowhere");
        EXPECT_FALSE(missing.ok());
        EXPECT_FALSE(missing.next());
        EXPECT_TRUE(missing.error().contains(QStringLiteral("no such table")))
            << missing.error().toStdString();
    }
    c.exec("insert into t values ('x', 1)");
    // A step that fails part-way: the rows before it were read, the failure is told after.
    PreparedStatement s(c.db, "select abs(-9223372036854775807 - (a = 'y')) from t");
    c.exec("insert into t values ('y', 2)");
    EXPECT_TRUE(s.next());
    EXPECT_FALSE(s.next());
    EXPECT_FALSE(s.ok());
    EXPECT_TRUE(s.error().contains(QStringLiteral("integer overflow"))) << s.error().toStdString();
}

TEST(PreparedStatement, AMovedStatementIsFinalizedOnceAndBindsTextsAsUtf16OrUtf8) {
    Connection c;
    PreparedStatement kept;
    EXPECT_FALSE(kept);
    {
        PreparedStatement insert(c.db, QStringLiteral("insert into t values (?1, ?2)"));
        ASSERT_TRUE(insert.ok());
        kept = std::move(insert);
        EXPECT_FALSE(insert);  // NOLINT: the moved-from statement is empty
    }
    const QString texts[] = {QStringLiteral("ベンチ 'プレス'"), QString(""), QString()};
    for (const QString& text : texts) {
        kept.bindText(1, text.isNull() ? std::optional<QString>() : std::optional<QString>(text));
        kept.bindDouble(2, 2.5);
        EXPECT_EQ(kept.step(), SQLITE_DONE);
        kept.reset();
    }
    EXPECT_EQ(kept.finalize(), SQLITE_OK);
    PreparedStatement read(c.db, "select a, b from t order by rowid");
    ASSERT_TRUE(read.next());
    EXPECT_EQ(read.columnText(0), texts[0]);
    ASSERT_TRUE(read.next());
    EXPECT_FALSE(read.isNull(0));
    EXPECT_TRUE(read.columnText(0).isEmpty());
    ASSERT_TRUE(read.next());
    EXPECT_TRUE(read.isNull(0));
    EXPECT_TRUE(read.isNumber(1));
    EXPECT_EQ(read.bytes(0).size(), 0u);
    EXPECT_FALSE(read.next());
    EXPECT_TRUE(read.ok());
}

}  // namespace
}  // namespace sorvenka
