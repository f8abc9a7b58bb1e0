#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "progress/progress_fixture.h"
#include "routines/routine_model.h"

namespace sorvenka::testing {

// One exercise's sets of a day at one load: Sets("2024/05/13", "60", "kg", {12, 12, 12}).
inline std::vector<SetRow> Sets(const QString& ymd, const QString& load, const QString& unit,
                                std::vector<int> reps, int firstSet = 1,
                                const QString& exer = QStringLiteral("01"),
                                const QString& grp = QStringLiteral("01")) {
    std::vector<SetRow> rows;
    for (int r : reps) {
        SetRow row;
        row.ymd = ymd;
        row.grp = grp;
        row.exer = exer;
        row.set = firstSet++;
        row.target = load;
        row.unitT = unit;
        row.cnt = QString::number(r);
        rows.push_back(row);
    }
    return rows;
}

inline void Store(const TempLayout& layout, const std::vector<SetRow>& rows) {
    for (const SetRow& r : rows) StoreSets(layout, {r});
}

// Several days' sets as one list.
inline std::vector<SetRow> Join(std::initializer_list<std::vector<SetRow>> parts) {
    std::vector<SetRow> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A bench press (01/01) item of three working sets from 60 kg.
inline RoutineItem BenchItem(ProgressionRule rule, int repMin, int repMax) {
    RoutineItem item;
    item.grpCd = QStringLiteral("01");
    item.exerCd = QStringLiteral("01");
    item.rule = rule;
    item.workingSets = 3;
    item.repMin = repMin;
    item.repMax = repMax;
    item.startLoad = 60;
    item.loadUnit = QStringLiteral("kg");
    item.step = 2.5;
    item.rounding = 2.5;
    return item;
}

}  // namespace sorvenka::testing
