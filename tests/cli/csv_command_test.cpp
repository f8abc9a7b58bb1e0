// The CSV command line: run in-process on a temporary folder layout, and as the built
// program without a display.
#include "cli/csv_command.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <cstdio>
#include <functional>

#include "cli/command_guard.h"
#include "common/paths.h"
#include "csv/csv_test_files.h"
#include "startup/instance_guard.h"
#include "support/damaged_database.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

// Strong's 2016 form: the load column named by its unit.
const QByteArray kStrong =
    "Date,Workout Name,Exercise Name,Set Order,kg,Reps,km,Seconds,Notes\r\n"
    "2024-05-01 08:30:00,Push,ベンチプレス,1,60,10,0,0,\r\n"
    "2024-05-01 08:30:00,Push,Cable Fly,1,10,15,0,0,\r\n";
const QByteArray kStrongWithBadRow =
    kStrong + "2024-13-01 08:30:00,Push,ベンチプレス,2,60,10,0,0,\r\n";

struct CommandRun {
    int status;
    QString out, err;
};

class CsvCommand : public ::testing::Test {
  protected:
    TempLayout layout;
    QString rec = layout.folder(QStringLiteral("rec"));

    CommandRun run(QStringList arguments) {
        arguments.prepend(QStringLiteral("Valdrome"));
        CommandRun result;
        QTextStream out(&result.out), err(&result.err);
        result.status = RunCsvCommand(arguments, layout.programFolder(), QStringLiteral("Valdrome"),
                                      QDateTime(QDate(2024, 6, 1), QTime(7, 0)), out, err);
        out.flush();
        err.flush();
        return result;
    }
    QString file(const char* name, const QByteArray& bytes) {
        const QString path = rec + QLatin1Char('/') + QString::fromLatin1(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }
    QString sets() { return Scalar(layout.dbPath(), "select count(*) from t_exer"); }
};

struct StatusCase {
    const char* name;
    QStringList arguments;  // {file} stands for a Strong file, {bad} for one with a refused row
    int status;
    const char* err;     // a part of standard error ("" for none expected)
    const char* stored;  // sets stored afterwards
};

TEST_F(CsvCommand, ExitStatusesAndWhatIsWritten) {
    const StatusCase cases[] = {
        {"import", {"--import-csv", "{file}"}, kCommandOk, "", "int:2"},
        {"dry run", {"--import-csv", "{file}", "--dry-run"}, kCommandOk, "", "int:0"},
        {"refused row",
         {"--import-csv", "{bad}"},
         kCommandFailed,
         "4行目: 日付が正しくありません",
         "int:0"},
        {"refused row, dry run",
         {"--import-csv", "{bad}", "--dry-run"},
         kCommandFailed,
         "4行目",
         "int:0"},
        {"refused row skipped",
         {"--import-csv", "{bad}", "--skip-refused"},
         kCommandOk,
         "4行目",
         "int:2"},
        {"unknown group",
         {"--import-csv", "{file}", "--group", "77"},
         kCommandFailed,
         "グループ「77」はマスタにありません",
         "int:0"},
        {"missing file",
         {"--import-csv", "{missing}"},
         kCommandFailed,
         "ファイルを開けません",
         "int:0"},
        {"no command", {"--dry-run"}, kCommandUsage, "使い方", "int:0"},
        {"unknown argument",
         {"--import-csv", "{file}", "--fast"},
         kCommandUsage,
         "--fast",
         "int:0"},
        {"export option on import",
         {"--import-csv", "{file}", "--from", "2024/01/01"},
         kCommandUsage,
         "使えない引数",
         "int:0"},
        {"bad day",
         {"--export-csv", "{out}", "--from", "2024/02/30"},
         kCommandUsage,
         "2024/02/30",
         "int:0"},
        {"days the wrong way round",
         {"--export-csv", "{out}", "--from", "2024/05/02", "--to", "2024/05/01"},
         kCommandUsage,
         "--from",
         "int:0"},
        {"export", {"--export-csv", "{out}"}, kCommandOk, "", "int:0"},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        layout.exec(QStringLiteral(
            "delete from t_exer; delete from m_exer where exer_name = 'Cable Fly';"));
        QStringList arguments;
        for (const QString& a : c.arguments) {
            if (a == QLatin1String("{file}"))
                arguments << file("strong.csv", kStrong);
            else if (a == QLatin1String("{bad}"))
                arguments << file("bad.csv", kStrongWithBadRow);
            else if (a == QLatin1String("{missing}"))
                arguments << rec + QStringLiteral("/none.csv");
            else if (a == QLatin1String("{out}"))
                arguments << rec + QStringLiteral("/out.csv");
            else
                arguments << a;
        }
        const CommandRun result = run(arguments);
        EXPECT_EQ(result.status, c.status) << result.err.toStdString();
        if (*c.err) {
            EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.err))) << result.err.toStdString();
        } else if (c.status == kCommandOk) {
            EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
        }
        EXPECT_EQ(sets(), QString::fromLatin1(c.stored));
    }
}

TEST_F(CsvCommand, PrintsThePreviewFiguresAndTakesTheDaysBackupFirst) {
    const CommandRun result = run({QStringLiteral("--import-csv"), file("strong.csv", kStrong),
                                   QStringLiteral("--group"), QStringLiteral("05")});
    ASSERT_EQ(result.status, kCommandOk) << result.err.toStdString();
    for (const char* figure :
         {"形式: Strong", "日数: 1", "セット数: 2（新規 2、登録済みのため読み込まない 0）",
          "種目: 登録済み 1、新規 1", "新しい種目: Cable Fly → グループ 05 腕、コード 05",
          "読み込めない行: 0", "読み込みました。"})
        EXPECT_TRUE(result.out.contains(QString::fromUtf8(figure))) << figure << "\n"
                                                                    << result.out.toStdString();
    // The day's copy, and the copy before the import that undoes it.
    const auto copies = [&] {
        return QDir(layout.folder(QStringLiteral("db_backup"))).entryList(QDir::Files, QDir::Name);
    };
    const QStringList taken = copies();
    ASSERT_EQ(taken.size(), 2) << taken.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(taken[0], QStringLiteral("exercise_2024_0601-0700_00.sqlite3"));
    EXPECT_TRUE(taken[1].startsWith(QStringLiteral("import_exercise_")));
    EXPECT_EQ(ScalarText(JoinPath(layout.folder(QStringLiteral("db_backup")), taken[1]),
                         QStringLiteral("select count(*) from t_exer")),
              QStringLiteral("0"));
    // The second run finds everything stored, and writing nothing keeps no copy.
    const CommandRun again = run({QStringLiteral("--import-csv"), file("strong.csv", kStrong)});
    EXPECT_EQ(again.status, kCommandOk);
    EXPECT_TRUE(again.out.contains(QStringLiteral("新規 0、登録済みのため読み込まない 2")));
    EXPECT_EQ(copies(), taken);
    EXPECT_EQ(sets(), QStringLiteral("int:2"));
}

// Strong's comma form has no unit column: the command needs --unit, and --distance-unit
// for a file with distances, and writes nothing without them.
TEST_F(CsvCommand, AFileWithoutUnitsNeedsTheUnitNamed) {
    const QString strong = file(
        "pounds.csv",
        "Date,Workout Name,Duration,Exercise Name,Set Order,Weight,Reps,Distance,Seconds,Notes,"
        "Workout Notes,RPE\r\n"
        "2024-05-01 08:30:00,Pull,1h,デッドリフト,1,420,3,0,0,,,\r\n"
        "2024-05-01 08:30:00,Pull,1h,ランニング,1,0,0,3.1,1800,,,\r\n");
    struct Case {
        QStringList extra;
        int status;
        const char* err;
        const char* stored;  // unit_t of the stored sets
    };
    const QString unit = QStringLiteral("--unit"), distance = QStringLiteral("--distance-unit");
    const Case cases[] = {
        {{}, kCommandFailed, "--unit", ""},
        {{unit, QStringLiteral("stone")}, kCommandUsage, "--unit", ""},
        {{unit, QStringLiteral("lb")},
         kCommandFailed,
         "--distance-unit mi。重量の単位から見ると mi",
         ""},
        {{unit, QStringLiteral("lb"), distance, QStringLiteral("furlong")},
         kCommandUsage,
         "--distance-unit は km か mi です",
         ""},
        {{unit, QStringLiteral("lb"), distance, QStringLiteral("mi")},
         kCommandOk,
         "",
         "text:lb,mi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        layout.exec(QStringLiteral("delete from t_exer;"));
        const CommandRun result =
            run(QStringList{QStringLiteral("--import-csv"), strong} + c.extra);
        EXPECT_EQ(result.status, c.status) << result.err.toStdString();
        if (*c.err) {
            EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.err))) << result.err.toStdString();
        }
        EXPECT_EQ(Scalar(layout.dbPath(), "select group_concat(unit_t) from t_exer"),
                  *c.stored ? QString::fromUtf8(c.stored) : QStringLiteral("null"));
    }
}

// The proposed mapping written by a dry run, edited, and read back by the import.
TEST_F(CsvCommand, AMappingFileRoundTrip) {
    const QString hevy = file(
        "hevy.csv",
        "title,start_time,end_time,description,exercise_title,superset_id,exercise_notes,"
        "set_index,set_type,weight_kg,reps,distance_km,duration_seconds,rpe\r\n"
        "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,Bench Press "
        "(Barbell),,,0,normal,60,5,,,\r\n"
        "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,\"Press, Odd\",,,0,normal,20,5,,,\r\n");
    const QString map = rec + QStringLiteral("/map.csv");
    EXPECT_EQ(
        run({QStringLiteral("--import-csv"), hevy, QStringLiteral("--write-map"), map}).status,
        kCommandUsage);
    const CommandRun dry = run({QStringLiteral("--import-csv"), hevy, QStringLiteral("--dry-run"),
                                QStringLiteral("--write-map"), map});
    ASSERT_EQ(dry.status, kCommandOk) << dry.err.toStdString();
    const QByteArray written = ReadFileBytes(map);
    EXPECT_EQ(written,
              "source_name,grp_cd,exer_cd,grp_name,exer_name,sets,first_day,last_day\r\n"
              "Bench Press (Barbell),01,01,胸,ベンチプレス,1,2024/06/01,2024/06/01\r\n"
              "\"Press, Odd\",99,,その他,,1,2024/06/01,2024/06/01\r\n");
    EXPECT_EQ(sets(), QStringLiteral("int:0"));

    // The user sends the odd press to ショルダープレス.
    QByteArray edited = written;
    edited.replace("\"Press, Odd\",99,,", "\"Press, Odd\",04,01,");
    ASSERT_TRUE(WriteFileBytes(map, edited));
    const CommandRun result =
        run({QStringLiteral("--import-csv"), hevy, QStringLiteral("--map"), map});
    ASSERT_EQ(result.status, kCommandOk) << result.err.toStdString();
    EXPECT_EQ(CellRows(layout.dbPath(), "select grp_cd || exer_cd from t_exer order by 1"),
              (QStringList{"text:0101", "text:0401"}));

    // The unedited proposals, new exercise included, twice: the second run adds nothing.
    layout.exec(QStringLiteral("delete from t_exer;"));
    ASSERT_TRUE(WriteFileBytes(map, written));
    for (int run_ = 0; run_ < 2; ++run_) {
        const CommandRun again =
            run({QStringLiteral("--import-csv"), hevy, QStringLiteral("--map"), map});
        ASSERT_EQ(again.status, kCommandOk) << again.err.toStdString();
    }
    EXPECT_EQ(sets(), QStringLiteral("int:2"));
    EXPECT_EQ(Scalar(layout.dbPath(), "select count(*) from m_exer where exer_name = 'Press, Odd'"),
              QStringLiteral("int:1"));

    // Names compare as the import reads them, blanks around them aside; a mapping file naming
    // no group, or a name twice, is refused with its line and nothing written.
    const struct {
        const char* what;
        QByteArray map;
        const char* err;       // "" when the import goes on
        const char* odd = "";  // then where the odd press went: group, code and name
    } cases[] = {
        {"no group", "Bench Press (Barbell),,01\r\n", "1行目: グループのコードは2文字です"},
        {"a name twice, once with blanks",
         "Bench Press (Barbell),01,01\r\n  Bench Press (Barbell) ,04,01\r\n",
         "2行目: 種目名「Bench Press (Barbell)」が2回あります"},
        {"a name with blanks", "\" Press, Odd \",04,01\r\n", "", "0401 ショルダープレス"},
        {"a new exercise named in the file", "\"Press, Odd\",05,,腕,オッドプレス\r\n", "",
         "0505 オッドプレス"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        layout.exec(QStringLiteral("delete from t_exer;"));
        ASSERT_TRUE(WriteFileBytes(map, c.map));
        const CommandRun result =
            run({QStringLiteral("--import-csv"), hevy, QStringLiteral("--map"), map});
        if (*c.err) {
            EXPECT_EQ(result.status, kCommandFailed);
            EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.err))) << result.err.toStdString();
            EXPECT_EQ(sets(), QStringLiteral("int:0"));
        } else {
            EXPECT_EQ(result.status, kCommandOk) << result.err.toStdString();
            EXPECT_EQ(Scalar(layout.dbPath(),
                             "select t.grp_cd || t.exer_cd || ' ' || m.exer_name from t_exer t "
                             "join m_exer m using (grp_cd, exer_cd) where t.comment = '' "
                             "and t.target = 20"),
                      QStringLiteral("text:") + QString::fromUtf8(c.odd));
        }
    }
}

// The map file is written like an export: a FIFO, a device node or a link at its name is
// refused with a reason and left as it was.
TEST_F(CsvCommand, TheMapFileReplacesOnlyARegularFile) {
    const QString strong = file("strong.csv", kStrong);
    const QString target = file("target.txt", "kept");
    struct Case {
        const char* name;
        std::function<bool(const QByteArray& path)> make;  // false: the case is skipped
        mode_t type;
        const char* reason;
    };
    const Case cases[] = {
        {"FIFO", [](const QByteArray& path) { return ::mkfifo(path.constData(), 0600) == 0; },
         S_IFIFO, "通常のファイルではありません"},
        // Made in the temporary folder: a node like the system's null device.
        {"device node",
         [](const QByteArray& path) {
             return ::geteuid() == 0 &&
                    ::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
         },
         S_IFCHR, "通常のファイルではありません"},
        {"symbolic link",
         [&](const QByteArray& path) {
             return ::symlink(QFile::encodeName(target).constData(), path.constData()) == 0;
         },
         S_IFLNK, "シンボリックリンク"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString map = rec + QStringLiteral("/map-") + QString::fromLatin1(c.name);
        const QByteArray path = QFile::encodeName(map);
        if (!c.make(path)) {
            std::printf("skipped: %s cannot be made here\n", c.name);
            continue;
        }
        const CommandRun result =
            run({QStringLiteral("--import-csv"), strong, QStringLiteral("--dry-run"),
                 QStringLiteral("--write-map"), map});
        EXPECT_EQ(result.status, kCommandFailed);
        EXPECT_TRUE(result.err.contains(QStringLiteral("種目の対応を書き出せませんでした。")))
            << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(map)) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.reason))) << result.err.toStdString();
        EXPECT_FALSE(result.out.contains(QStringLiteral("書き出しました")));
        struct stat after {};
        ASSERT_EQ(::lstat(path.constData(), &after), 0);
        EXPECT_EQ(after.st_mode & S_IFMT, c.type);
    }
    EXPECT_EQ(ReadFileBytes(target), "kept");
    EXPECT_EQ(sets(), QStringLiteral("int:0"));
}

TEST_F(CsvCommand, ExportsAPeriodThatImportsBackIntoAnEmptyDatabase) {
    layout.exec(QStringLiteral(
        "insert into t_exer values ('2024/05/01', '01', '01', 1, '', '', 60, 'kg', 10, '回', "
        "null, null, '0', 'a'), ('2024/05/03', '01', '01', 1, '', '', 70, 'kg', 5, '回', null, "
        "null, '0', null);"));
    const QString out = rec + QStringLiteral("/period.csv");
    const CommandRun result =
        run({QStringLiteral("--export-csv"), out, QStringLiteral("--from"),
             QStringLiteral("2024/05/02"), QStringLiteral("--to"), QStringLiteral("2024/05/31")});
    ASSERT_EQ(result.status, kCommandOk) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("書き出したセット数: 1")));
    const QStringList stored = AllSets(layout.dbPath());
    layout.exec(QStringLiteral("delete from t_exer;"));
    ASSERT_EQ(run({QStringLiteral("--import-csv"), out}).status, kCommandOk);
    EXPECT_EQ(AllSets(layout.dbPath()), QStringList{stored.last()});
}

TEST_F(CsvCommand, RefusedWhileTheWindowOfTheSameFolderRuns) {
    InstanceGuard window;
    ASSERT_TRUE(window.acquire(layout.programFolder(), QStringLiteral("Valdrome")));
    const CommandRun result = run({QStringLiteral("--import-csv"), file("strong.csv", kStrong)});
    EXPECT_EQ(result.status, kCommandFailed);
    EXPECT_EQ(result.err, kCommandWhileRunningMessage + QLatin1Char('\n'));
    EXPECT_EQ(sets(), QStringLiteral("int:0"));
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FolderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// The day's copy that cannot be taken stops an import before it writes; a database that fails
// the integrity check is called damaged, never a copy that another program is in the way of.
TEST(CsvCommandBackup, AFailedBackupStopsTheImportAndSaysWhy) {
    const QString goodCopy = QStringLiteral("exercise_2024_0531-0700_00.sqlite3");
    const QString damaged = QStringLiteral("データベースのファイルが壊れています。\n\u3000{db}\n");
    const QString copyFailed = QStringLiteral("データベースのバックアップができませんでした。\n");
    struct Case {
        const char* name;
        std::function<void(const TempLayout&)> prepare;
        QString start;        // standard error starts with it ({db}, {backups} for the paths)
        QStringList said;     // ... and holds these
        QStringList notSaid;  // ... and never these
    };
    const Case cases[] = {
        {"damaged, with a good copy",
         [&](const TempLayout& l) {
             ASSERT_TRUE(QFile::copy(l.dbPath(),
                                     JoinPath(l.folder(QStringLiteral("db_backup")), goodCopy)));
             ASSERT_TRUE(DamagePrimaryKeyIndex(l.dbPath()));
         },
         damaged,
         {QStringLiteral("正常なバックアップは次のフォルダにあります。\n\u3000{backups}\n"),
          goodCopy, QStringLiteral("Valdrome --list-backups\n"),
          QStringLiteral("Valdrome --restore-backup ") + goodCopy + QLatin1Char('\n'),
          QStringLiteral("何も書き込んでいません。")},
         {copyFailed, QStringLiteral("\r")}},
        {"damaged, no good copy",
         [](const TempLayout& l) { ASSERT_TRUE(DamagePrimaryKeyIndex(l.dbPath())); },
         damaged,
         {QStringLiteral(
              "復元できる正常なバックアップが次のフォルダにありません。\n\u3000{backups}\n"),
          QStringLiteral("Valdrome --list-backups\n"), QStringLiteral("何も書き込んでいません。")},
         {copyFailed, QStringLiteral("--restore-backup")}},
        {"a folder in the way of the copy",
         [](const TempLayout& l) {
             ASSERT_TRUE(QDir(l.folder(QStringLiteral("db_backup")))
                             .mkdir(QStringLiteral("exercise_2024_0601-0700_00.sqlite3")));
         },
         copyFailed,
         {QStringLiteral("DBファイルを開いたままになっているとエラーになります。")},
         {QStringLiteral("壊れています")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempLayout layout;
        const QString backups = layout.folder(QStringLiteral("db_backup"));
        const auto paths = [&](QString text) {
            return text.replace(QStringLiteral("{db}"), layout.dbPath())
                .replace(QStringLiteral("{backups}"), backups);
        };
        ASSERT_NO_FATAL_FAILURE(c.prepare(layout));
        const QByteArray before = FileBytes(layout.dbPath());
        const QStringList backupsBefore = FolderEntries(backups);
        const QString csv = JoinPath(layout.folder(QStringLiteral("rec")), QStringLiteral("s.csv"));
        ASSERT_TRUE(WriteFileBytes(csv, kStrong));

        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const int status =
            RunCsvCommand({QStringLiteral("Valdrome"), QStringLiteral("--import-csv"), csv},
                          layout.programFolder(), QStringLiteral("Valdrome"),
                          QDateTime(QDate(2024, 6, 1), QTime(7, 0)), outStream, errStream);
        outStream.flush();
        errStream.flush();

        EXPECT_EQ(status, kCommandFailed);
        EXPECT_TRUE(err.startsWith(paths(c.start))) << err.toStdString();
        for (const QString& part : c.said)
            EXPECT_TRUE(err.contains(paths(part))) << part.toStdString() << "\n"
                                                   << err.toStdString();
        for (const QString& part : c.notSaid)
            EXPECT_FALSE(err.contains(part)) << part.toStdString() << "\n" << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
        EXPECT_EQ(FileBytes(layout.dbPath()), before);
        EXPECT_EQ(FolderEntries(backups), backupsBefore);
    }
}

// db_backup/damaged as a file: a damaged copy cannot be set aside. The day's copy is taken,
// the command says so in plain words naming the paths and goes on.
TEST_F(CsvCommand, ADamagedCopyThatCannotBeSetAsideIsSaidAndTheImportGoesOn) {
    const QString backups = layout.folder(QStringLiteral("db_backup"));
    const QString damagedCopy =
        JoinPath(backups, QStringLiteral("exercise_2024_0531-0700_00.sqlite3"));
    ASSERT_TRUE(QFile::copy(layout.dbPath(), damagedCopy));
    ASSERT_TRUE(DamagePrimaryKeyIndex(damagedCopy));
    for (int day = 1; day <= 20; ++day)
        ASSERT_TRUE(QFile::copy(
            layout.dbPath(), JoinPath(backups, QStringLiteral("exercise_2024_04%1-0800_00.sqlite3")
                                                   .arg(day, 2, 10, QLatin1Char('0')))));
    const QString aside = JoinPath(backups, QStringLiteral("damaged"));
    ASSERT_TRUE(WriteFileBytes(aside, "a file"));

    const CommandRun result = run({QStringLiteral("--import-csv"), file("strong.csv", kStrong)});
    EXPECT_EQ(result.status, kCommandOk) << result.err.toStdString();
    EXPECT_TRUE(result.err.startsWith(
        QStringLiteral("壊れたバックアップを次のフォルダへ移せませんでした。\n\u3000") + aside +
        QLatin1Char('\n')))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(damagedCopy));
    EXPECT_FALSE(result.err.contains(QStringLiteral("バックアップができませんでした")));
    EXPECT_FALSE(result.err.contains(QLatin1Char('\r')));
    EXPECT_EQ(sets(), QStringLiteral("int:2"));
    EXPECT_TRUE(
        QFile::exists(JoinPath(backups, QStringLiteral("exercise_2024_0601-0700_00.sqlite3"))));
    EXPECT_EQ(FileBytes(aside), "a file");
}

TEST_F(CsvCommand, RefusedWithoutADatabaseFileAndCreatesNone) {
    QFile::remove(layout.dbPath());
    const CommandRun result = run({QStringLiteral("--export-csv"), rec + QStringLiteral("/x.csv")});
    EXPECT_EQ(result.status, kCommandFailed);
    EXPECT_TRUE(result.err.contains(QStringLiteral("データベースのファイルがありません")));
    EXPECT_FALSE(QFile::exists(layout.dbPath()));
}

// The built program answers on the command line with no display to connect to.
TEST_F(CsvCommand, TheProgramRunsWithoutADisplay) {
    const QString built = qEnvironmentVariable("VALDROME_EXE");
    ASSERT_FALSE(built.isEmpty());
    const QString program = JoinPath(layout.programFolder(), QStringLiteral("Valdrome"));
    ASSERT_TRUE(QFile::copy(built, program));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));

    struct Case {
        QStringList arguments;
        int status;
        const char* out;
    };
    const QString input = file("strong.csv", kStrongWithBadRow);
    const Case cases[] = {
        {{QStringLiteral("--import-csv"), input, QStringLiteral("--dry-run")},
         kCommandFailed,
         "形式: Strong"},
        {{QStringLiteral("--import-csv"), input, QStringLiteral("--skip-refused")},
         kCommandOk,
         "読み込みました。"},
        {{QStringLiteral("--export-csv"), rec + QStringLiteral("/all.csv")},
         kCommandOk,
         "書き出したセット数: 2"},
    };
    for (const Case& c : cases) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, c.arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_EQ(process.exitCode(), c.status) << process.readAllStandardError().toStdString();
        EXPECT_TRUE(out.contains(QString::fromUtf8(c.out))) << out.toStdString();
    }
    EXPECT_EQ(sets(), QStringLiteral("int:2"));
}

// A file that cannot be read at all gives its reason alone, no figures of an unknown format;
// refused rows are each listed once, and only rows beyond the listed ones are counted apart.
TEST_F(CsvCommand, SummaryTextsSayWhatHappened) {
    QByteArray manyBad = kStrong;
    for (int i = 0; i < 99; ++i)
        manyBad += "2024-13-01 08:30:00,Push,ベンチプレス,2,60,10,0,0,\r\n";
    QByteArray tooManyBad = kStrong;
    for (int i = 0; i < 1003; ++i)
        tooManyBad += "2024-13-01 08:30:00,Push,ベンチプレス,2,60,10,0,0,\r\n";
    struct Case {
        const char* name;
        QStringList arguments;
        QStringList outHas, outLacks, errHas, errLacks;
    };
    const Case cases[] = {
        {"missing file",
         {"--import-csv", rec + "/none.csv"},
         {},
         {"形式", "日数"},
         {"ファイルを開けませんでした", "none.csv"},
         {}},
        {"a folder", {"--import-csv", rec}, {}, {"形式"}, {"フォルダです"}, {}},
        {"99 refused rows",
         {"--import-csv", file("bad99.csv", manyBad), "--dry-run"},
         {"読み込めない行: 99"},
         {"ほか", "行目"},
         {"4行目: 日付", "102行目: 日付"},
         {"ほか"}},
        {"1003 refused rows",
         {"--import-csv", file("bad1003.csv", tooManyBad), "--dry-run"},
         {"読み込めない行: 1003"},
         {"行目"},
         {"1003行目: 日付", "ほか 3行"},
         {"1004行目", "1006行目"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandRun result = run(c.arguments);
        EXPECT_EQ(result.status, kCommandFailed);
        for (const QString& part : c.outHas)
            EXPECT_TRUE(result.out.contains(part)) << part.toStdString() << "\n"
                                                   << result.out.toStdString();
        for (const QString& part : c.outLacks)
            EXPECT_FALSE(result.out.contains(part)) << part.toStdString() << "\n"
                                                    << result.out.toStdString();
        for (const QString& part : c.errHas)
            EXPECT_TRUE(result.err.contains(part)) << part.toStdString() << "\n"
                                                   << result.err.left(2000).toStdString();
        for (const QString& part : c.errLacks)
            EXPECT_FALSE(result.err.contains(part)) << part.toStdString();
    }
}

// Files that are no regular files: an export never replaces them, an import never waits on
// them; "-" reads standard input to its end.
TEST_F(CsvCommand, SpecialFilesAndStandardInput) {
    const QString built = qEnvironmentVariable("VALDROME_EXE");
    ASSERT_FALSE(built.isEmpty());
    const QString program = JoinPath(layout.programFolder(), QStringLiteral("Valdrome"));
    ASSERT_TRUE(QFile::copy(built, program));
    const QString fifo = rec + QStringLiteral("/fifo.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case {
        const char* name;
        QStringList arguments;
        QByteArray input;   // standard input; closed at once when empty
        QString inputFile;  // or this file as standard input
        int status;
        const char* err;
        const char* stored;
    };
    const Case cases[] = {
        {"export onto a FIFO",
         {"--export-csv", fifo},
         {},
         {},
         kCommandFailed,
         "通常のファイルではありません",
         "int:0"},
        {"import from a FIFO",
         {"--import-csv", fifo},
         {},
         {},
         kCommandFailed,
         "通常のファイルではありません",
         "int:0"},
        {"import from a device",
         {"--import-csv", "/dev/zero"},
         {},
         {},
         kCommandFailed,
         "通常のファイルではありません",
         "int:0"},
        {"standard input, dry run",
         {"--import-csv", "-", "--dry-run"},
         kStrong,
         {},
         kCommandOk,
         "",
         "int:0"},
        {"standard input", {"--import-csv", "-"}, kStrong, {}, kCommandOk, "", "int:2"},
        {"standard input without end",
         {"--import-csv", "-"},
         {},
         "/dev/zero",
         kCommandFailed,
         "NUL",
         "int:2"},
        {"standard input in UTF-16",
         {"--import-csv", "-"},
         QByteArray("\xFF\xFE"
                    "D\0a\0",
                    6),
         {},
         kCommandFailed,
         "UTF-16",
         "int:2"},
        {"empty standard input", {"--import-csv", "-"}, {}, {}, kCommandFailed, "空です", "int:2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess process;
        if (!c.inputFile.isEmpty()) process.setStandardInputFile(c.inputFile);
        process.start(program, c.arguments);
        ASSERT_TRUE(process.waitForStarted());
        if (c.inputFile.isEmpty()) {
            process.write(c.input);
            process.closeWriteChannel();
        }
        ASSERT_TRUE(process.waitForFinished(30000)) << "hangs";
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), c.status) << err.toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.err))) << err.toStdString();
        EXPECT_EQ(sets(), QString::fromLatin1(c.stored));
    }
    struct stat after {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &after), 0);
    EXPECT_TRUE(S_ISFIFO(after.st_mode));
}

}  // namespace
}  // namespace sorvenka::testing
