#include "record_list/record_lines.h"

#include <gtest/gtest.h>

#include "common/display_width.h"
#include "db/record_reads.h"
#include "record_list/record_key.h"
#include "support/temp_layout.h"

namespace sorvenka {
namespace {

using testing::OpenDatabase;
using testing::RunExpectingEnd;

QString B(int count) {
    return QString(count, QLatin1Char(' '));
}

// One row of DBSelectDayExer's result, by column.
struct DayRow {
    QString grp_cd = QStringLiteral("01"), grp_name = QStringLiteral("胸");
    QString exer_cd = QStringLiteral("01"), exer_name = QStringLiteral("ベンチプレス");
    QString set_num = QStringLiteral("1");
    QString hms_sta = QStringLiteral("08:10:00"), hms_end = QStringLiteral("08:11:35");
    QString target = QStringLiteral("60"), unit_t = QStringLiteral("kg");
    QString cnt = QStringLiteral("10"), unit = QStringLiteral("回");
    QString cnt_min, cnt_sec;
    QString sweat_name = QStringLiteral("普通");
    QString comment;

    QString text() const {
        return QStringList{grp_cd,  grp_name, exer_cd, exer_name,  set_num,
                           hms_sta, hms_end,  target,  unit_t,     cnt,
                           unit,    cnt_min,  cnt_sec, sweat_name, comment}
            .join(QLatin1Char('\t'));
    }
};

const QString kHeader = QStringLiteral(
    "grp_cd\tgrp_name\texer_cd\texer_name\tset_num\thms_sta\thms_end\ttarget\tunit_t\tcnt\tunit\t"
    "cnt_min\tcnt_sec\tsweat_name\tcomment");
const QString kDay = QStringLiteral("2024/05/14");
const QString kName = QStringLiteral("胸_ベンチプレス") + B(13);  // 15 columns filled to 28
const QString kKey = B(50) + QStringLiteral("PK=2024/05/14,01,01,1");

ResultTable Table(const std::vector<DayRow>& rows) {
    ResultTable table{kHeader};
    for (const DayRow& row : rows) table.append(row.text());
    return table;
}

struct LineCase {
    const char* name;
    DayRow row;
    QString expected;
};

std::vector<LineCase> LineCases() {
    std::vector<LineCase> cases;
    DayRow row;
    cases.push_back({"count form with duration", row,
                     B(14) + kName +
                         QStringLiteral(" 1 08:10:00-08:11:35(  1分35秒)    60kg  10回") + B(5) +
                         QStringLiteral("普通") + B(12) + kKey});
    row = DayRow();
    row.hms_end.clear();
    cases.push_back({"no end time", row,
                     B(14) + kName + QStringLiteral(" 1 08:10:00-") + B(8) + B(12) +
                         QStringLiteral("   60kg  10回") + B(5) + QStringLiteral("普通") + B(12) +
                         kKey});
    row = DayRow();
    row.hms_sta.clear();
    row.hms_end.clear();
    cases.push_back({"no times", row,
                     B(14) + kName + QStringLiteral(" 1 ") + B(8) + QStringLiteral("-") + B(8) +
                         B(12) + QStringLiteral("   60kg  10回") + B(5) + QStringLiteral("普通") +
                         B(12) + kKey});
    row = DayRow();
    row.hms_sta = QStringLiteral("08:11:30");
    row.hms_end = QStringLiteral("08:10:00");
    cases.push_back({"end before start", row,
                     B(14) + kName +
                         QStringLiteral(" 1 08:11:30-08:10:00( -1分30秒)    60kg  10回") + B(5) +
                         QStringLiteral("普通") + B(12) + kKey});
    row = DayRow();
    row.hms_sta = QStringLiteral("24:00:00");
    cases.push_back({"invalid stored time shown, no duration", row,
                     B(14) + kName + QStringLiteral(" 1 24:00:00-08:11:35") + B(12) +
                         QStringLiteral("   60kg  10回") + B(5) + QStringLiteral("普通") + B(12) +
                         kKey});
    row = DayRow();
    row.set_num = QStringLiteral("12");
    cases.push_back(
        {"two-digit set number shifts the line", row,
         B(14) + kName + QStringLiteral(" 12 08:10:00-08:11:35(  1分35秒)    60kg  10回") + B(5) +
             QStringLiteral("普通") + B(12) + B(50) + QStringLiteral("PK=2024/05/14,01,01,12")});
    row = DayRow();
    row.cnt.clear();
    row.unit.clear();
    row.cnt_min = QStringLiteral("5");
    row.cnt_sec = QStringLiteral("7");
    cases.push_back({"duration form", row,
                     B(14) + kName +
                         QStringLiteral(" 1 08:10:00-08:11:35(  1分35秒)    60kg   5分 7秒 ") +
                         QStringLiteral("普通") + B(12) + kKey});
    row.cnt_min.clear();
    row.cnt_sec = QStringLiteral("30");
    cases.push_back({"duration form without minutes", row,
                     B(14) + kName +
                         QStringLiteral(" 1 08:10:00-08:11:35(  1分35秒)    60kg    分30秒 ") +
                         QStringLiteral("普通") + B(12) + kKey});
    row = DayRow();
    row.grp_name = QStringLiteral("有酸素");
    row.exer_name = QStringLiteral("アイウエオカキクケコサ");  // 7 + 22 = 29 columns
    row.sweat_name = QStringLiteral("とてもとてもたくさん");   // 20 columns
    cases.push_back({"names cut to their widths", row,
                     B(14) + QStringLiteral("有酸素_アイウエオカキクケコ ") +
                         QStringLiteral(" 1 08:10:00-08:11:35(  1分35秒)    60kg  10回") + B(5) +
                         QStringLiteral("とてもとてもたく") + kKey});
    row = DayRow();
    row.target = QStringLiteral("1234.5");
    row.unit_t.clear();
    row.cnt = QStringLiteral("1200");
    row.sweat_name.clear();
    cases.push_back({"wide load and count, no load unit, no sweat name", row,
                     B(14) + kName + QStringLiteral(" 1 08:10:00-08:11:35(  1分35秒) 1234. 120回") +
                         B(5) + B(16) + kKey});
    row = DayRow();
    row.target.clear();
    cases.push_back({"no load", row,
                     B(14) + kName +
                         QStringLiteral(" 1 08:10:00-08:11:35(  1分35秒)      kg  10回") + B(5) +
                         QStringLiteral("普通") + B(12) + kKey});
    row = DayRow();
    row.target = QStringLiteral("６０");              // full-width digits: 4 columns
    row.cnt = QStringLiteral("１２３");               // 6 columns, cut to 3: a blank and one digit
    row.sweat_name = QStringLiteral("汗\U0001F4A6");  // the emoji has no Shift_JIS form: 1
    cases.push_back({"full-width digits and an unencodable character", row,
                     B(14) + kName +
                         QStringLiteral(" 1 08:10:00-08:11:35(  1分35秒)  ６０kg  １回") + B(5) +
                         QStringLiteral("汗\U0001F4A6") + B(13) + kKey});
    return cases;
}

TEST(FormatDayRecords, RecordLinesWholeText) {
    OpenDatabase env;
    for (const LineCase& c : LineCases()) {
        const std::vector<ListLine> lines = FormatDayRecords(env.db, kDay, Table({c.row}), true);
        ASSERT_EQ(lines.size(), 1u) << c.name;
        EXPECT_EQ(lines[0].text, c.expected) << c.name;
        EXPECT_EQ(lines[0].kind, LineKind::Record) << c.name;
    }
}

TEST(FormatDayRecords, VisibleColumnsEndBeforeTheKeyPart) {
    OpenDatabase env;
    // 14 + 28 + 1 + 1 + 1 + 8 + 1 + 8 + 12 + 5 + 3 + 10 + 16 = 108 columns, then 50 blanks.
    const std::vector<ListLine> lines = FormatDayRecords(env.db, kDay, Table({DayRow()}), false);
    ASSERT_EQ(lines.size(), 1u);
    const QString& line = lines[0].text;
    const qsizetype key = line.indexOf(QStringLiteral("PK="));
    EXPECT_EQ(ByteWidth(line.left(key)), 158);
}

TEST(FormatDayRecords, CommentLinesFollowTheirSet) {
    OpenDatabase env;
    DayRow first;
    first.comment = QStringLiteral("軽め\r\n\r\nPK=2024/05/14,01,01,9\r\n");
    DayRow second;
    second.set_num = QStringLiteral("2");
    DayRow third;
    third.set_num = QStringLiteral("3");
    third.comment = QStringLiteral("last");
    const ResultTable table = Table({first, second, third});

    const std::vector<ListLine> shown = FormatDayRecords(env.db, kDay, table, true);
    ASSERT_EQ(shown.size(), 8u);
    const std::vector<std::pair<LineKind, QString>> expected{
        {LineKind::Record, QStringLiteral("PK=2024/05/14,01,01,1")},
        {LineKind::Comment, B(45) + QStringLiteral("軽め")},
        {LineKind::Comment, B(45)},
        {LineKind::Comment, B(45) + QStringLiteral("PK=2024/05/14,01,01,9")},
        {LineKind::Comment, B(45)},  // the comment ends in a line break
        {LineKind::Record, QStringLiteral("PK=2024/05/14,01,01,2")},
        {LineKind::Record, QStringLiteral("PK=2024/05/14,01,01,3")},
        {LineKind::Comment, B(45) + QStringLiteral("last")},
    };
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shown[i].kind, expected[i].first) << i;
        if (expected[i].first == LineKind::Record)
            EXPECT_TRUE(shown[i].text.endsWith(expected[i].second)) << i;
        else
            EXPECT_EQ(shown[i].text, expected[i].second) << i;
    }

    const std::vector<ListLine> hidden = FormatDayRecords(env.db, kDay, table, false);
    ASSERT_EQ(hidden.size(), 3u);
    for (const ListLine& line : hidden) EXPECT_EQ(line.kind, LineKind::Record);
    EXPECT_EQ(hidden[0].text, shown[0].text);
    EXPECT_EQ(hidden[2].text, shown[6].text);
}

TEST(FormatDayRecords, DayWithoutSetsGivesNoLines) {
    OpenDatabase env;
    EXPECT_TRUE(FormatDayRecords(env.db, kDay, ResultTable{QString()}, true).empty());
}

TEST(FormatDayRecords, MissingColumnEndsTheProgram) {
    OpenDatabase env;
    ResultTable table{QString(kHeader).replace(QStringLiteral("sweat_name"), QStringLiteral("s")),
                      DayRow().text()};
    const testing::EndedRun run =
        RunExpectingEnd(env.platform, [&] { FormatDayRecords(env.db, kDay, table, true); });
    EXPECT_TRUE(run.ended);
    EXPECT_NE(run.status, 0);
    ASSERT_FALSE(run.shown.empty());
    EXPECT_TRUE(
        run.shown[0].text.startsWith(QStringLiteral("Error!\r\n  Cannot find col[sweat_name]")));
}

TEST(DayLineText, DayAndWeekday) {
    EXPECT_EQ(DayLineText(QStringLiteral("2021/04/22")), QStringLiteral("2021/04/22(木)"));
    EXPECT_EQ(DayLineText(QStringLiteral("2024/05/12")), QStringLiteral("2024/05/12(日)"));
}

struct KeyCase {
    const char* name;
    QString line;
    bool found;
    RecordKey key;
};

TEST(ParseRecordKey, TakesTheKeyPartAtTheLineEnd) {
    const QString body = B(14) + QStringLiteral("胸_ベンチプレス") + B(60);
    const KeyCase cases[] = {
        {"record line",
         body + QStringLiteral("PK=2024/05/14,01,02,3"),
         true,
         {"2024/05/14", "01", "02", "3"}},
        {"name holding PK=",
         B(14) + QStringLiteral("PK=1999/01/01,99,99,9_x") + B(40) +
             QStringLiteral("PK=2024/05/14,01,02,13"),
         true,
         {"2024/05/14", "01", "02", "13"}},
        {"no key part", body, false, {}},
        {"three pieces", body + QStringLiteral("PK=2024/05/14,01,02"), false, {}},
        {"five pieces", body + QStringLiteral("PK=2024/05/14,01,02,3,4"), false, {}},
    };
    for (const KeyCase& c : cases) {
        RecordKey key;
        ASSERT_EQ(ParseRecordKey(c.line, key), c.found) << c.name;
        if (!c.found) continue;
        EXPECT_EQ(key.ymd, c.key.ymd) << c.name;
        EXPECT_EQ(key.grp_cd, c.key.grp_cd) << c.name;
        EXPECT_EQ(key.exer_cd, c.key.exer_cd) << c.name;
        EXPECT_EQ(key.set_num, c.key.set_num) << c.name;
    }
}

// Rows written by another tool: a key cell not of its form must never make the line carry a
// key, least of all another set's ("7 PK=2024/05/14,01,01,1" would end the line in set 1's key).
TEST(FormatDayRecords, ARowWithKeyCellsNotOfTheirFormIsListedWithoutAKey) {
    struct Case {
        const char* name;
        const char* grpCd;
        const char* exerCd;
        const char* setNum;  // as SQL
    };
    const Case cases[] = {
        {"another key in the set number", "01", "02", "'7 PK=2024/05/14,01,01,1'"},
        {"commas in the set number", "01", "02", "'1,01,01,1'"},
        {"negative set number", "01", "02", "-1"},
        {"fractional set number", "01", "02", "1.5"},
        {"empty set number", "01", "02", "''"},
        {"group code with a comma", "0,", "02", "4"},
        {"three-character exercise code", "01", "021", "4"},
        {"one-character group code", "1", "02", "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenDatabase env;
        // The masters hold the odd codes too, so that the row is listed.
        env.layout.exec(
            QStringLiteral("insert or ignore into m_grp values ('%1', 'g', 1, 99);"
                           "insert or ignore into m_exer values ('%1', '%2', 'e', 1, 99);"
                           "insert into t_exer values ('2024/05/14','01','01',1,"
                           "'08:00:00','',60,'kg',10,'回',null,null,'2','victim'),"
                           "('2024/05/14','%1','%2',%3,'09:00:00','',60,'kg',10,"
                           "'回',null,null,'2','odd')")
                .arg(QString::fromUtf8(c.grpCd), QString::fromUtf8(c.exerCd),
                     QString::fromUtf8(c.setNum)));
        const ResultTable table = DBSelectDayExer(env.db, kDay, 0, QString(), QString());
        const std::vector<ListLine> lines = FormatDayRecords(env.db, kDay, table, false);
        ASSERT_EQ(lines.size(), 2u);
        // Sorted by start time: the set of the other tool is the second.
        RecordKey key;
        ASSERT_TRUE(ParseRecordKey(lines[0].text, key));
        EXPECT_EQ(key.set_num, QStringLiteral("1"));
        EXPECT_EQ(lines[1].kind, LineKind::Record);
        EXPECT_FALSE(ParseRecordKey(lines[1].text, key)) << lines[1].text.toStdString();
        EXPECT_TRUE(lines[1].text.endsWith(B(50)));
        // Exported as shown, with no piece cut off.
        EXPECT_TRUE(lines[1].text.startsWith(ExportLineText(lines[1])));
        EXPECT_FALSE(ExportLineText(lines[1]).endsWith(QLatin1Char(' ')));
    }
}

TEST(RecordKeyForm, DayCodesAndSetNumberOfTheirForm) {
    struct Case {
        const char16_t* ymd;
        const char16_t* grp;
        const char16_t* exer;
        const char16_t* set;
        bool ofForm;
    };
    const Case cases[] = {
        {u"2024/05/14", u"01", u"02", u"3", true},
        {u"2024/05/14", u"胸A", u"0x", u"0012", true},
        {u"2024/02/30", u"01", u"02", u"3", false},
        {u"2024/5/14", u"01", u"02", u"3", false},
        {u"2024/05/14", u"01", u"02", u"", false},
        {u"2024/05/14", u"01", u"02", u"3 ", false},
        {u"2024/05/14", u"01", u"02", u"+3", false},
        {u"2024/05/14", u"01", u"02", u"３", false},
        {u"2024/05/14", u"0'", u"02", u"3", false},
        {u"2024/05/14", u"01", u"0\t", u"3", false},
        {u"2024/05/14", u"01", u"\U0001F600", u"3", false},
        {u"2024/05/14", u"", u"02", u"3", false},
    };
    for (const Case& c : cases) {
        const RecordKey key{QString::fromUtf16(c.ymd), QString::fromUtf16(c.grp),
                            QString::fromUtf16(c.exer), QString::fromUtf16(c.set)};
        EXPECT_EQ(IsRecordKeyOfForm(key), c.ofForm)
            << (key.ymd + "," + key.grp_cd + "," + key.exer_cd + "," + key.set_num).toStdString();
    }
}

TEST(ExportLineText, RecordLinesLoseTheirKeyPart) {
    OpenDatabase env;
    const ListLine record = FormatDayRecords(env.db, kDay, Table({DayRow()}), false)[0];
    EXPECT_EQ(ExportLineText(record),
              B(14) + kName + QStringLiteral(" 1 08:10:00-08:11:35(  1分35秒)    60kg  10回") +
                  B(5) + QStringLiteral("普通"));
    const ListLine comment{B(45) + QStringLiteral("メモ PK=x  "), LineKind::Comment};
    EXPECT_EQ(ExportLineText(comment), comment.text);
    const ListLine day{QStringLiteral("2024/05/14(火)"), LineKind::Day};
    EXPECT_EQ(ExportLineText(day), day.text);
}

}  // namespace
}  // namespace sorvenka
