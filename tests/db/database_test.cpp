#include "db/database.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <chrono>
#include <iostream>
#include <string>
#include <thread>

#include "common/file_size_signal.h"
#include "common/paths.h"
#include "db/first_database.h"
#include "startup/test_files.h"
#include "support/program_version.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

const QString kFatalReportTail = QStringLiteral(
    "\r\n\r\nErr.Desc=\r\n\r\n"
    "プログラムを終了します。\r\n\r\n"
    "Morvaneに連絡するときは，以下のファイルを添付して電子メールで連絡してください\r\n"
    "\u3000(1)エラーが起きたときのログファイル\r\n"
    "\u3000(2)画面のハードコピー\r\n"
    "\u3000(3)(できれば)DBファイル");

// Another program's connection to the same file, through the engine's own interface.
class OtherConnection {
  public:
    explicit OtherConnection(const QString& path) {
        sqlite3_open(path.toUtf8().constData(), &handle_);
    }
    ~OtherConnection() { sqlite3_close(handle_); }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;
    int exec(const char* sql) { return sqlite3_exec(handle_, sql, nullptr, nullptr, nullptr); }

  private:
    sqlite3* handle_ = nullptr;
};

struct DatabaseFixture : ::testing::Test {
    OpenDatabase open;
    Database& db = open.db;
    ScriptedPlatform& platform = open.platform;
    ResultTable table{QStringLiteral("untouched")};
    QString message = QStringLiteral("untouched");

    bool query(const QString& sql) { return db.query(sql, table, message); }
    QStringList logLines() const { return ReadCrLfLines(open.log.path()); }
};

TEST_F(DatabaseFixture, CellTextsFollowTheStorageClassOfEachCell) {
    open.layout.exec(QStringLiteral(
        "create table cells (v);"
        "insert into cells values (60.0), (62.5), (-3), (null), (100.0), (0.1), (1.0/3), (-0.5),"
        "  (4294967296), ('日本語テキスト'), ('007'), (x'616263'), ('');"));
    ASSERT_TRUE(query(QStringLiteral("select v from cells order by rowid")));
    EXPECT_EQ(table, (QStringList{"v", "60", "62.5", "-3", "", "100", "0.1", "0.333333333333333",
                                  "-0.5", "4294967296", "日本語テキスト", "007", "abc", ""}));
    EXPECT_EQ(message, QString());
}

// A FLOAT cell is plain decimal text with at most 15 significant digits across the whole
// range of loads a user can type: no exponent, which the entry's decimal test would refuse.
TEST_F(DatabaseFixture, FloatCellsArePlainDecimalTextWithoutExponent) {
    const struct {
        const char* stored;  // the value as the statement writes it into a REAL column
        std::string text;
    } cases[] = {
        {"60", "60"},
        {"62.5", "62.5"},
        {"0.00005", "0.00005"},
        {"0.0001", "0.0001"},
        {"0.000123456789012345678", "0.000123456789012346"},
        {"1234567890123456", "1234567890123460"},
        {"999999999999999", "999999999999999"},
        {"9999999999999999", "10000000000000000"},
        {"100000000000000000000", "100000000000000000000"},
        {"123456.789", "123456.789"},
        {"0.1", "0.1"},
        {"0.30000000000000004", "0.3"},
        {"1e-10", "0.0000000001"},
        {"-2.5e-7", "-0.00000025"},
        {"1.5e22", "15000000000000000000000"},
        {"1.7976931348623157e308", "179769313486232" + std::string(294, '0')},
        {"4.9406564584124654e-324", "0." + std::string(323, '0') + "494065645841247"},
        {"2.2250738585072014e-308", "0." + std::string(307, '0') + "22250738585072"},
        {"-0.0", "0"},
        {"1e999", "Inf"},
        {"-1e999", "-Inf"},
    };
    open.layout.exec(QStringLiteral("create table loads (v real)"));
    for (const auto& c : cases)
        open.layout.exec(QStringLiteral("insert into loads values (%1)").arg(c.stored));
    ASSERT_TRUE(query(QStringLiteral("select v from loads order by rowid")));
    ASSERT_EQ(table.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(table[i + 1].toStdString(), cases[i].text) << cases[i].stored;
}

TEST_F(DatabaseFixture, RowsJoinTheirCellsWithTabsUnderAHeaderOfNames) {
    open.layout.exec(QStringLiteral(
        "create table t (ymd text, ymd_min integer, 重さ real, note text);"
        "insert into t values ('2024/05/14', 5, 60, null), (null, null, null, null);"));
    ASSERT_TRUE(query(QStringLiteral("select * from t order by rowid")));
    EXPECT_EQ(table, (QStringList{"ymd\tymd_min\t重さ\tnote", "2024/05/14\t5\t60\t", "\t\t\t"}));

    EXPECT_EQ(db.colValue(table, 1, QStringLiteral("ymd")), QStringLiteral("2024/05/14"));
    EXPECT_EQ(db.colValue(table, 1, QStringLiteral("ymd_min")), QStringLiteral("5"));
    EXPECT_EQ(db.colValue(table, 1, QStringLiteral("重さ")), QStringLiteral("60"));
    EXPECT_EQ(db.colValue(table, 2, QStringLiteral("note")), QString());
    EXPECT_TRUE(platform.shown.empty());
}

TEST_F(DatabaseFixture, AOneColumnRowOfNullIsTheEmptyText) {
    ASSERT_TRUE(query(QStringLiteral("select null as c")));
    EXPECT_EQ(table, (QStringList{"c", ""}));
    EXPECT_EQ(db.colValue(table, 1, QStringLiteral("c")), QString());
}

TEST_F(DatabaseFixture, AQueryWithoutRowsGivesTheSingleEmptyText) {
    ASSERT_TRUE(query(QStringLiteral("select grp_cd from m_grp where 0")));
    EXPECT_EQ(table, ResultTable{QString()});
    EXPECT_EQ(UpperBound(table), 0);
    EXPECT_EQ(message, QString());
}

TEST_F(DatabaseFixture, TheStatementTextGoesToTheEngineUnchanged) {
    // CR LF between clauses, Japanese in a literal.
    ASSERT_TRUE(
        query(QStringLiteral("select grp_name\r\nfrom   m_grp\r\nwhere  grp_name = '胸'\r\n")));
    EXPECT_EQ(table, (QStringList{"grp_name", "胸"}));
}

TEST_F(DatabaseFixture, AMissingColumnShowsErrorThenTheFatalReportAndEnds) {
    const struct {
        const char* what;
        ResultTable table;
        QString name;
        QString cols;
    } cases[] = {
        {"no prefix match", {QStringLiteral("ymd_min"), QStringLiteral("3")}, "ymd", "ymd_min"},
        {"case-sensitive",
         {QStringLiteral("ymd\tgrp_cd"), QStringLiteral("a\tb")},
         "YMD",
         "ymd\tgrp_cd"},
        {"a table without rows", {QString()}, "ymd", ""},
    };
    platform.setTitle(QStringLiteral("Sorvenka"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        open.log.start();
        const EndedRun run = RunExpectingEnd(platform, [&] { db.colValue(c.table, 1, c.name); });
        EXPECT_TRUE(run.ended);
        EXPECT_NE(run.status, 0);
        ASSERT_EQ(run.shown.size(), 2u);
        EXPECT_EQ(run.shown[0].text, QStringLiteral("Error!\r\n  Cannot find col[") + c.name +
                                         QStringLiteral("]\r\n  cols=[") + c.cols +
                                         QStringLiteral("]"));
        EXPECT_EQ(run.shown[0].caption, QStringLiteral("Sorvenka"));
        const QString report =
            QStringLiteral("Sorvenka ") + ExpectedVersionText() + kFatalReportTail;
        EXPECT_EQ(run.shown[1].text, report);
        EXPECT_EQ(run.shown[1].caption, QStringLiteral("エラーが発生しました"));
        EXPECT_EQ(run.shown[1].buttons, Buttons::Ok);
        const QStringList lines = logLines();
        ASSERT_GE(lines.size(), 4);
        EXPECT_EQ(lines[2], QStringLiteral("09:30:15 SQLite3Close"));
        EXPECT_EQ(lines.mid(3).join(QStringLiteral("\r\n")),
                  QStringLiteral("09:30:15 ") + report + QStringLiteral("\r\n"));
    }
}

TEST_F(DatabaseFixture, AMalformedQueryReportsMisuseAndClosesTheConnection) {
    const QString sql = QStringLiteral("select *\r\nfrom   m_grpp\r\n");
    EXPECT_FALSE(query(sql));
    EXPECT_EQ(message, QStringLiteral("Returned 21:Library used incorrectly\r\n") + sql +
                           QStringLiteral("\r\n"));
    EXPECT_EQ(table, ResultTable{QString()});
    EXPECT_FALSE(db.isOpen());
    EXPECT_TRUE(platform.shown.empty());  // the caller shows it
}

TEST_F(DatabaseFixture, NonQueryCommitsByItself) {
    QString sql = QStringLiteral("insert into m_grp values ('08', '体幹''s', 1, 8)");
    EXPECT_EQ(db.nonQuery(sql, message), 0);
    EXPECT_EQ(message, QString());
    EXPECT_EQ(ScalarText(open.layout.dbPath(),
                         QStringLiteral("select grp_name from m_grp where grp_cd = '08'")),
              QStringLiteral("体幹's"));
    EXPECT_TRUE(platform.shown.empty());
}

TEST_F(DatabaseFixture, AFailedNonQueryShowsAndReturnsItsCode) {
    const struct {
        const char* what;
        QString sql;
        int code;
    } cases[] = {
        {"duplicate key", QStringLiteral("insert into m_grp values ('01', 'x', 1, 1)"),
         SQLITE_CONSTRAINT},
        {"malformed", QStringLiteral("insert into\r\nnowhere values (1)"), SQLITE_ERROR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform.shown.clear();
        EXPECT_EQ(db.nonQuery(c.sql, message), c.code);
        const QString expected = QStringLiteral("SQLite3NonQuery Error\r\n") + c.sql;
        EXPECT_EQ(message, expected);
        ASSERT_EQ(platform.shown.size(), 1u);
        EXPECT_EQ(platform.shown[0].text, expected);
        EXPECT_EQ(platform.shown[0].caption, QStringLiteral("Valdrome"));
        EXPECT_TRUE(db.isOpen());
    }
}

// A change the file cannot take keeps its own failure text and then names the cause in plain
// words, without the statement. Real fixtures: an immutable file (read-only even for root) and a
// file size limit (a full disk).
TEST(UnwritableDatabase, AChangeNamesTheCauseNotTheStatement) {
    const QString insert = QStringLiteral(
        "insert into t_exer (ymd, grp_cd, exer_cd, set_num, comment)\r\n"
        "values ('2024/05/14', '01', '01', 1, printf('%.*c', 200000, 'x'))");
    {
        SCOPED_TRACE("read-only file");
        TempLayout layout;
        UndeletableFile readOnly(layout.dbPath());
        if (!readOnly.works() || ::geteuid() != 0) {
            std::cerr << "no immutable file here: the read-only case is skipped\n";
        } else {
            ScriptedPlatform platform;
            Log log(platform, layout.programFolder(), QStringLiteral("Valdrome"));
            Database db(platform, log);
            QString message;
            ASSERT_TRUE(db.open(layout.dbPath(), message));
            EXPECT_NE(db.nonQuery(insert, message), 0);
            EXPECT_EQ(message, QStringLiteral("SQLite3NonQuery Error\r\n") + insert);
            ASSERT_EQ(platform.shown.size(), 2u);
            EXPECT_EQ(platform.shown[0].text, message);
            EXPECT_EQ(platform.shown[1].text,
                      QStringLiteral("データベースのファイルに書き込めません（読み取り専用です）。"
                                     "\r\n\u3000") +
                          layout.dbPath() +
                          QStringLiteral("\r\n\r\nファイルとフォルダに書き込めるかを確かめて"
                                         "ください。"));
            EXPECT_TRUE(QString::fromUtf8(ReadBytes(log.path())).contains(insert));
        }
    }
    // Runs the insert in a child on the database at path and tells what it showed.
    const auto insertInChild = [&](const std::function<bool()>& prepare, const QString& path,
                                   const char* expectedStart) {
        const pid_t child = fork();
        if (child == 0) {
            IgnoreFileSizeSignal();
            if (!prepare()) _exit(77);
            QString error;
            if (!QFile::exists(path) && !CreateFirstDatabase(path, error)) _exit(3);
            ScriptedPlatform platform;
            Log log(platform, QFileInfo(path).absolutePath(), QStringLiteral("Valdrome"));
            Database db(platform, log);
            QString message;
            if (!db.open(path, message)) _exit(4);
            if (db.nonQuery(insert, message) == 0) _exit(5);
            // The failure's own text first, then the cause in plain words.
            const QString cause = platform.shown.size() == 2 ? platform.shown[1].text : QString();
            const bool plain = platform.shown.size() == 2 &&
                               message.startsWith(QStringLiteral("SQLite3NonQuery Error")) &&
                               platform.shown[0].text == message &&
                               cause.startsWith(QString::fromUtf8(expectedStart)) &&
                               cause.contains(path) && !cause.contains(QStringLiteral("insert"));
            if (!plain) std::cerr << cause.toStdString() << '\n';
            _exit(plain ? 0 : 6);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    {
        SCOPED_TRACE("full disk");
        // A small file system of its own, in a mount namespace of the child's own.
        QTemporaryDir mountPoint;
        const QString path = mountPoint.filePath(QStringLiteral("exercise.sqlite3"));
        const int status = insertInChild(
            [&] {
                return unshare(CLONE_NEWNS) == 0 &&
                       mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                       mount("tmpfs", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", 0,
                             "size=96k") == 0;
            },
            path, "ディスクがいっぱいのため、データベースに書き込めませんでした。");
        if (status == 77)
            std::cerr << "no small file system can be mounted here: the full disk is skipped\n";
        else
            EXPECT_EQ(status, 0);
    }
    {
        SCOPED_TRACE("file size limit");
        TempLayout layout;
        const qint64 size = QFileInfo(layout.dbPath()).size();
        EXPECT_EQ(insertInChild(
                      [&] {
                          const rlimit limit{rlim_t(size), rlim_t(size)};
                          return setrlimit(RLIMIT_FSIZE, &limit) == 0;
                      },
                      layout.dbPath(), "データベースのファイルを読み書きできませんでした"),
                  0);
        EXPECT_EQ(IntegrityCheck(layout.dbPath()), QStringLiteral("ok"));
    }
}

// Whatever the caller checked, a statement text with an unpaired surrogate never reaches the
// engine: read there, the surrogate would swallow the quote after it.
TEST_F(DatabaseFixture, AStatementThatIsNotValidUtf16IsRefusedAsMisuse) {
    const QString before = ScalarText(open.layout.dbPath(),
                                      QStringLiteral("select group_concat(grp_name) from m_grp"));
    const QString update = QStringLiteral("update m_grp set grp_name = '") +
                           QChar(char16_t(0xD800)) + QStringLiteral("' /*'");
    EXPECT_EQ(db.nonQuery(update, message), SQLITE_MISUSE);
    EXPECT_EQ(message, QStringLiteral("SQLite3NonQuery Error\r\n") + update);
    EXPECT_EQ(ScalarText(open.layout.dbPath(),
                         QStringLiteral("select group_concat(grp_name) from m_grp")),
              before);

    const QString select =
        QStringLiteral("select '") + QChar(char16_t(0xDC00)) + QStringLiteral("' from m_grp");
    EXPECT_FALSE(query(select));
    EXPECT_TRUE(message.startsWith(QStringLiteral("Returned 21:"))) << message.toStdString();
    EXPECT_EQ(table, ResultTable{QString()});
}

// Every row of a query as "name=cell|name=cell".
struct CollectRows : RowSink {
    QStringList names, rows;
    void columns(const RowCells& cells) override {
        names.clear();
        for (int i = 0; i < cells.size(); ++i) names << cells.value(i).toString();
    }
    void row(const RowCells& cells) override {
        QStringList row;
        for (int i = 0; i < cells.size(); ++i)
            row << names.value(i) + QLatin1Char('=') + cells.value(i).toString();
        rows << row.join(QLatin1Char('|'));
    }
};

// A bound query runs its kept statement again and again with new values: it reads what its
// text with the values written in reads, and fails as that text does.
TEST_F(DatabaseFixture, ABoundQueryReadsAndFailsAsItsTextWithTheValuesWrittenIn) {
    open.layout.exec(QStringLiteral(
        "create table cells (k, v);"
        "insert into cells values ('a', 1), ('a', 2.5), ('b', 'x\ty'), ('it''s', null), ('', 7);"));
    const QString bound = QStringLiteral("select v, k from cells where k = ?1 order by rowid");
    auto shown = [](const QString& value) {
        return QStringLiteral("select v, k from cells where k = '") +
               QString(value).replace(QStringLiteral("'"), QStringLiteral("''")) +
               QStringLiteral("' order by rowid");
    };
    for (const QString value : {"a", "b", "it's", "", "none", "a"}) {
        SCOPED_TRACE(value.toStdString());
        CollectRows byBound, byText;
        const QString values[] = {value};
        ASSERT_TRUE(db.queryRowsBound(
            bound, values, [&] { return shown(value); }, byBound, message));
        ASSERT_TRUE(db.queryRows(shown(value), byText, message));
        EXPECT_EQ(byBound.rows, byText.rows);
        EXPECT_EQ(byBound.names, byText.names);
    }

    // The kept statement outlives its table: the failure names the text, as a fresh prepare
    // would, and the connection is closed.
    OtherConnection(open.layout.dbPath()).exec("drop table cells");
    CollectRows rows;
    const QString values[] = {QStringLiteral("a")};
    EXPECT_FALSE(db.queryRowsBound(
        bound, values, [&] { return shown(values[0]); }, rows, message));
    EXPECT_EQ(message, QStringLiteral("Returned 21:Library used incorrectly\r\n") +
                           shown(values[0]) + QStringLiteral("\r\n"));
    EXPECT_TRUE(rows.rows.isEmpty());
    EXPECT_FALSE(db.isOpen());
}

TEST_F(DatabaseFixture, OpenAndCloseAreLogged) {
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(logLines(), (QStringList{"09:30:15 DBOpenDB", "09:30:15 SQLite3Close", ""}));
}

TEST(DatabaseOpen, AFileThatCannotBeOpenedIsReported) {
    TempLayout layout;
    ScriptedPlatform platform;
    Log log(platform, layout.programFolder(), QStringLiteral("Valdrome"));
    Database db(platform, log);
    QString message;
    EXPECT_FALSE(db.open(
        JoinPath(layout.folder(QStringLiteral("missing")), QStringLiteral("exercise.sqlite3")),
        message));
    EXPECT_EQ(message, QStringLiteral("DBFile Open Error"));
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(ReadCrLfLines(log.path()), (QStringList{"09:30:15 DBOpenDB", ""}));
    EXPECT_TRUE(platform.shown.empty());
}

TEST(DatabaseOpen, AMissingFileIsCreatedEmpty) {
    TempLayout layout(false);
    ScriptedPlatform platform;
    Log log(platform, layout.programFolder(), QStringLiteral("Valdrome"));
    Database db(platform, log);
    QString message;
    ASSERT_TRUE(db.open(layout.dbPath(), message));
    EXPECT_EQ(message, QString());
    EXPECT_TRUE(FileExists(layout.dbPath()));
    // A file made here keeps its texts as UTF-16, as files made by earlier versions do.
    ResultTable table{QString()};
    ASSERT_TRUE(db.query(QStringLiteral("PRAGMA encoding"), table, message));
    EXPECT_EQ(table.value(1), QStringLiteral("UTF-16le"));
}

TEST_F(DatabaseFixture, FailQueryShowsTheMessageAndEnds) {
    const EndedRun run = RunExpectingEnd(platform, [&] { db.failQuery(QStringLiteral("why")); });
    EXPECT_TRUE(run.ended);
    EXPECT_NE(run.status, 0);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(run.shown[0].text, QStringLiteral("why"));
}

// Another program holds the database with an exclusive lock.
struct BusyFixture : DatabaseFixture {
    OtherConnection other{open.layout.dbPath()};
    void lock() { ASSERT_EQ(other.exec("begin exclusive"), SQLITE_OK); }
};

TEST_F(BusyFixture, AQueryGivesUpAfterTheBoundedWaitNamingTheLock) {
    const QString sql = QStringLiteral("select grp_cd\r\nfrom   m_grp\r\n");
    // Fresh: the lock stops the statement's preparation. Warm: the schema is known, so the
    // lock stops the first step instead.
    for (const bool warm : {false, true}) {
        SCOPED_TRACE(warm ? "warm" : "fresh");
        OpenDatabase fresh;
        OtherConnection holder(fresh.layout.dbPath());
        ResultTable rows;
        QString text;
        if (warm) {
            ASSERT_TRUE(fresh.db.query(sql, rows, text));
        }
        ASSERT_EQ(holder.exec("begin exclusive"), SQLITE_OK);
        QElapsedTimer waited;
        waited.start();
        EXPECT_FALSE(fresh.db.query(sql, rows, text));
        EXPECT_GE(waited.elapsed(), Database::kBusyTimeoutMilliseconds - 100);
        // The cause in plain words, without the statement.
        EXPECT_TRUE(
            text.startsWith(QStringLiteral("データベースのファイルがほかのプログラムに使われている"
                                           "ため、読み書きできませんでした。")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(fresh.layout.dbPath()));
        EXPECT_FALSE(text.contains(QStringLiteral("m_grp")));
        EXPECT_FALSE(fresh.db.isOpen());
        EXPECT_TRUE(fresh.platform.shown.empty());
    }
}

TEST_F(BusyFixture, AQueryWaitsForALockThatClearsInTime) {
    lock();
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.exec("rollback");
    });
    const bool ran = query(QStringLiteral("select count(*) as n from m_sweat"));
    releaser.join();
    EXPECT_TRUE(ran) << message.toStdString();
    EXPECT_EQ(table, (QStringList{"n", "5"}));
}

TEST_F(BusyFixture, AChangeOnALockedDatabaseEndsTheProgram) {
    lock();
    const EndedRun run = RunExpectingEnd(platform, [&] {
        QString text;
        db.nonQuery(QStringLiteral("delete from t_exer"), text);
    });
    EXPECT_TRUE(run.ended);
    EXPECT_NE(run.status, 0);
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(run.shown[0].text, QStringLiteral("The database file is locked"));
    EXPECT_EQ(run.shown[0].caption, QStringLiteral("Valdrome"));
    EXPECT_EQ(logLines(), (QStringList{"09:30:15 DBOpenDB", ""}));  // nothing logged
}

}  // namespace
}  // namespace sorvenka::testing
