// The routines CSV: written, read back into another database, refused whole.
#include "routines/routines_csv.h"

#include <QFile>

#include "routines/routine_fixture.h"
#include "routines/routine_store.h"

namespace sorvenka::testing {
namespace {

// Two routines: one with a day of a superset and an empty day, one without days; kg plates.
void StoreRoutines(sqlite3* db) {
    Routine split{0, QStringLiteral("上下, 分割"), 0, Schedule::Weekdays};
    ASSERT_TRUE(AddRoutine(db, split));
    Routine empty{0, QStringLiteral("=空"), 0, Schedule::Rotation};
    ASSERT_TRUE(AddRoutine(db, empty));
    RoutineDay upper{0, split.id, QStringLiteral("上"), 0,
                     WeekdayBit(Qt::Monday) | WeekdayBit(Qt::Thursday)};
    RoutineDay lower{0, split.id, QStringLiteral("下"), 0, WeekdayBit(Qt::Tuesday)};
    ASSERT_TRUE(AddDay(db, upper));
    ASSERT_TRUE(AddDay(db, lower));
    RoutineItem bench = BenchItem(ProgressionRule::Double, 8, 12);
    bench.dayId = upper.id;
    bench.superset = QStringLiteral("a");
    bench.startLoad = 62.5;
    RoutineItem row = bench;
    row.grpCd = QStringLiteral("02");
    row.exerCd = QStringLiteral("03");
    RoutineItem plank;
    plank.dayId = upper.id;
    plank.grpCd = QStringLiteral("06");
    plank.exerCd = QStringLiteral("01");
    plank.kind = ItemKind::Duration;
    plank.durationSec = 60;
    plank.usesPlates = false;
    plank.since = QStringLiteral("2024/05/01");
    for (RoutineItem* item : {&bench, &row, &bench, &plank}) ASSERT_TRUE(AddItem(db, *item));
    ASSERT_TRUE(SavePlates(db, {QStringLiteral("kg"), 15, {{20, 2}, {1.25, 1}}}));
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(RoutinesCsv, RoundTripAndASecondImportAddsNothing) {
    OpenDatabase from;
    StoreRoutines(from.db.connection());
    const QString path = from.layout.base() + QStringLiteral("/routines.csv");
    const RoutinesCsvResult exported = ExportRoutinesCsv(from.db.connection(), path);
    ASSERT_TRUE(exported.ok) << exported.error.toStdString();
    EXPECT_EQ(exported.items, 4);

    OpenDatabase to;
    RoutinesCsvResult dry = ImportRoutinesCsv(to.db.connection(), path, true);
    ASSERT_TRUE(dry.ok) << dry.error.toStdString() << dry.refused.join('|').toStdString();
    EXPECT_EQ(dry.routines, 2);
    EXPECT_EQ(dry.days, 2);
    EXPECT_EQ(dry.items, 4);  // the bench twice: both are items
    EXPECT_EQ(dry.plates, 1);
    EXPECT_EQ(ScalarText(to.layout.dbPath(),
                         "select count(*) from sqlite_master where name = "
                         "'s_routine'"),
              QStringLiteral("0"));  // a dry run writes nothing

    const RoutinesCsvResult first = ImportRoutinesCsv(to.db.connection(), path, false);
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_EQ(first.items, 4);
    const QString again = to.layout.base() + QStringLiteral("/again.csv");
    ASSERT_TRUE(ExportRoutinesCsv(to.db.connection(), again).ok);
    EXPECT_EQ(FileBytes(again), FileBytes(path));

    const RoutinesCsvResult second = ImportRoutinesCsv(to.db.connection(), path, false);
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(second.routines + second.days + second.items + second.plates, 0);
    EXPECT_EQ(ScalarText(to.layout.dbPath(), "select count(*) from s_routine_item"),
              QStringLiteral("4"));
    EXPECT_TRUE(FileBytes(path).contains("\"上下, 分割\""));
    EXPECT_TRUE(FileBytes(path).contains("'=空"));  // a spreadsheet would run it
}

TEST(RoutinesCsv, RefusedLinesAreNamedAndNothingIsWritten) {
    OpenDatabase from;
    StoreRoutines(from.db.connection());
    const QString good = from.layout.base() + QStringLiteral("/good.csv");
    ASSERT_TRUE(ExportRoutinesCsv(from.db.connection(), good).ok);
    const QList<QByteArray> lines = FileBytes(good).split('\n');
    ASSERT_GE(lines.size(), 4);

    struct Case {
        const char* what;
        QByteArray bytes;
        QStringList refused;
    };
    QByteArray unknown = lines[1];
    unknown.replace("ベンチプレス", "ベンチ");
    QByteArray badSets = lines[2];
    badSets.replace(",ダブル,", ",毎回,");
    const std::vector<Case> cases{
        {"a wrong header", "名前,重量\r\n" + lines[1] + "\n", {"1行目: 見出しが"}},
        {"an unknown exercise and an unknown rule",
         lines[0] + "\n" + lines[3] + "\n" + unknown + "\n" + badSets + "\n",
         {"3行目: 種目「ベンチ」が「胸」にありません", "4行目: 進め方「毎回」は使えません"}},
        {"too few columns", lines[0] + "\n項目,A\r\n", {"2行目: 列が 2 あります"}},
        {"an unknown line kind",
         lines[0] + "\n" + QByteArray(lines[1]).replace("項目", "メモ") + "\n",
         {"2行目: 区分「メモ」"}},
        {"an empty file", "", {"1行目: 見出しがありません"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenDatabase to;
        const QString path = to.layout.base() + QStringLiteral("/bad.csv");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        const RoutinesCsvResult result = ImportRoutinesCsv(to.db.connection(), path, false);
        EXPECT_FALSE(result.ok);
        ASSERT_EQ(result.refused.size(), c.refused.size())
            << result.refused.join('|').toStdString();
        for (qsizetype i = 0; i < c.refused.size(); ++i)
            EXPECT_TRUE(result.refused[i].startsWith(c.refused[i]))
                << result.refused[i].toStdString();
        EXPECT_EQ(ScalarText(to.layout.dbPath(),
                             "select count(*) from sqlite_master where name like 's_routine%'"),
                  QStringLiteral("0"));
    }
}

}  // namespace
}  // namespace sorvenka::testing
