#pragma once

#include <gtest/gtest.h>

#include <QListWidget>
#include <memory>

#include "main_window/main_window.h"
#include "record_list/record_lines.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {

// A stored set as the tests write it straight into the file; empty texts become NULL.
struct StoredSet {
    QString ymd = QStringLiteral("2024/05/14");
    QString grp_cd = QStringLiteral("01");
    QString exer_cd = QStringLiteral("01");
    QString set_num = QStringLiteral("1");
    QString hms_sta = QStringLiteral("09:00:00");
    QString hms_end = QStringLiteral("09:01:00");
    QString target = QStringLiteral("60");
    QString unit_t = QStringLiteral("kg");
    QString cnt = QStringLiteral("10");
    QString unit = QStringLiteral("回");
    QString cnt_min;
    QString cnt_sec;
    QString sweat_cd = QStringLiteral("2");
    QString comment;
};

inline QString SqlValue(const QString& value) {
    if (value.isEmpty()) return QStringLiteral("null");
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

inline void Store(const TempLayout& layout, const StoredSet& s) {
    const QStringList values{SqlValue(s.ymd),      SqlValue(s.grp_cd),  SqlValue(s.exer_cd),
                             SqlValue(s.set_num),  SqlValue(s.hms_sta), SqlValue(s.hms_end),
                             SqlValue(s.target),   SqlValue(s.unit_t),  SqlValue(s.cnt),
                             SqlValue(s.unit),     SqlValue(s.cnt_min), SqlValue(s.cnt_sec),
                             SqlValue(s.sweat_cd), SqlValue(s.comment)};
    layout.exec(QStringLiteral("insert into t_exer values (") + values.join(QLatin1Char(',')) +
                QStringLiteral(");"));
}

inline QStringList Items(const QAbstractItemView* list) {
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts << list->model()->index(row, 0).data().toString();
    return texts;
}

// The day lines of the record list, in list order.
inline QStringList DayLines(const RecordListView* list) {
    QStringList days;
    for (int row = 0; row < list->count(); ++row)
        if (list->lineKind(row) == LineKind::Day) days << list->lineText(row);
    return days;
}

// The row of the first record line whose key part ends the line as given.
inline int RowOfKey(const RecordListView* list, const QString& keyPart) {
    for (int row = 0; row < list->count(); ++row)
        if (list->lineKind(row) == LineKind::Record &&
            list->lineText(row).endsWith(QStringLiteral("PK=") + keyPart))
            return row;
    return -1;
}

// A database with the first masters, and the window started on it as Main starts it: loaded,
// then shown (the activation runs at the first showing). Clock: Tuesday 2024/05/14 09:30:15.
class WindowTest : public ::testing::Test {
  protected:
    void startWindow() {
        window = std::make_unique<MainWindow>(WindowContext{env.db, env.platform,
                                                            env.layout.dbPath(), env.layout.base(),
                                                            QStringLiteral("Valdrome")});
        window->Form_Load();
        window->show();
    }

    OpenDatabase env;
    std::unique_ptr<MainWindow> window;
};

}  // namespace sorvenka::testing
