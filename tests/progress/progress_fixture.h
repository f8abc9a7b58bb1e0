#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <initializer_list>
#include <vector>

#include "support/temp_layout.h"

namespace sorvenka::testing {

// One stored set. Numbers are SQL literals, so that a test can store a text where a number
// belongs ('abc'), as a file edited by another program may hold.
struct SetRow {
    QString ymd = QStringLiteral("2024/05/14");
    QString grp = QStringLiteral("01");
    QString exer = QStringLiteral("01");
    int set = 1;
    QString sta = QStringLiteral("09:00:00");
    QString end = QStringLiteral("09:01:00");
    QString target = QStringLiteral("60");
    QString unitT = QStringLiteral("kg");
    QString cnt = QStringLiteral("10");
    QString unit = QStringLiteral("回");
    QString min = QStringLiteral("null");
    QString sec = QStringLiteral("null");
};

inline void StoreSets(const TempLayout& layout, const std::vector<SetRow>& rows) {
    QString sql = QStringLiteral("begin;\n");
    for (const SetRow& r : rows)
        sql += QStringLiteral(
                   "insert into t_exer values('%1','%2','%3',%4,'%5','%6',%7,'%8',%9,'%10',"
                   "%11,%12,'2','');\n")
                   .arg(r.ymd, r.grp, r.exer, QString::number(r.set), r.sta, r.end, r.target,
                        r.unitT, r.cnt)
                   .arg(r.unit, r.min, r.sec);
    layout.exec(sql + QStringLiteral("commit;\n"));
}

inline void StoreSets(const TempLayout& layout, std::initializer_list<SetRow> rows) {
    StoreSets(layout, std::vector<SetRow>(rows));
}

}  // namespace sorvenka::testing
