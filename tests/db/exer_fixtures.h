#pragma once

#include <sqlite3.h>

#include <QString>
#include <ostream>
#include <string>

#include "db/exer_record.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {

// A valid set in count form on 2024/05/14, group 01, exercise 01 (ベンチプレス), set 1.
inline ExerRecord CountSet(const QString& setNum = QStringLiteral("1")) {
    ExerRecord r;
    r.ymd = QStringLiteral("2024/05/14");
    r.grp_cd = QStringLiteral("01");
    r.exer_cd = QStringLiteral("01");
    r.set_num = setNum;
    r.hms_sta = QStringLiteral("09:00:00");
    r.hms_end = QStringLiteral("09:01:00");
    r.target = QStringLiteral("60");
    r.unit_t = QStringLiteral("kg");
    r.cnt = QStringLiteral("10");
    r.unit = QStringLiteral("回");
    r.sweat_cd = QStringLiteral("2");
    r.comment = QStringLiteral("ok");
    return r;
}

// The same set in duration form: 1 minute 30 seconds, no count.
inline ExerRecord TimeSet(const QString& setNum = QStringLiteral("1")) {
    ExerRecord r = CountSet(setNum);
    r.cnt.clear();
    r.unit.clear();
    r.cnt_min = QStringLiteral("1");
    r.cnt_sec = QStringLiteral("30");
    return r;
}

// Line breaks and tabs made visible, so that a difference in CR LF shows in the failure.
inline std::string Visible(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r"), QStringLiteral("<CR>"))
        .replace(QStringLiteral("\n"), QStringLiteral("<LF>\n"))
        .replace(QStringLiteral("\t"), QStringLiteral("<TAB>"));
    return shown.toStdString();
}

// Every row of t_exer with every column quoted (NULL stays visible as NULL), in key order.
inline QString TableDump(const TempLayout& layout) {
    return ScalarText(
        layout.dbPath(),
        QStringLiteral(
            "select ifnull(group_concat(line, char(10)), '') from (select "
            "quote(ymd)||','||quote(grp_cd)||','||quote(exer_cd)||','||quote(set_num)||','||"
            "quote(hms_sta)||','||quote(hms_end)||','||quote(target)||','||quote(unit_t)||','||"
            "quote(cnt)||','||quote(unit)||','||quote(cnt_min)||','||quote(cnt_sec)||','||"
            "quote(sweat_cd)||','||quote(comment) as line "
            "from t_exer order by ymd, grp_cd, exer_cd, set_num)"));
}

// A second connection that holds the database file exclusively while it lives, as another
// program would.
class ExclusiveLock {
  public:
    explicit ExclusiveLock(const QString& dbPath) {
        sqlite3_open(dbPath.toUtf8().constData(), &handle_);
        held_ = sqlite3_exec(handle_, "begin exclusive", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~ExclusiveLock() {
        sqlite3_exec(handle_, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(handle_);
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    bool held() const { return held_; }

  private:
    sqlite3* handle_ = nullptr;
    bool held_ = false;
};

// The report of a failed query: "Returned 21:..." with the statement.
inline QString Returned21(const QString& sql) {
    return QStringLiteral("Returned 21:Library used incorrectly\r\n") + sql +
           QStringLiteral("\r\n");
}

// Shown for a database that another program holds past the busy wait: the cause in plain words
// and the file, never the statement.
inline QString LockedByAnotherProgram(const QString& dbPath) {
    return QStringLiteral(
               "データベースのファイルがほかのプログラムに使われているため、"
               "読み書きできませんでした。\r\n\u3000") +
           dbPath +
           QStringLiteral(
               "\r\n\r\nDB Browser for SQLite などでファイルを開いていたら、閉じてください。");
}

}  // namespace sorvenka::testing

// Failures show texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << sorvenka::testing::Visible(text) << '"';
}
