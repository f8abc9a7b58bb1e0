#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QStringList>

#include "db/master_lists.h"
#include "startup/master_codes.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {

// The first database open through the program's connection, with sets written by hand.
class MastersTest : public ::testing::Test {
  protected:
    OpenDatabase env;
    sqlite3* db() { return env.db.connection(); }

    // A set of an exercise; the comment names it, so that a test can follow it when re-keyed.
    void addSet(const QString& ymd, const QString& grp, const QString& exer, int setNum,
                const QString& start, const QString& comment) {
        const QString startValue =
            start == QStringLiteral("null") ? start : QLatin1Char('\'') + start + QLatin1Char('\'');
        env.layout.exec(QStringLiteral("insert into t_exer values ('%1','%2','%3',%4,%5,'',60,'kg',"
                                       "10,'回',null,null,'1','%6');")
                            .arg(ymd, grp, exer)
                            .arg(setNum)
                            .arg(startValue, comment));
    }

    // Rows of a query, cells joined by "|".
    QStringList rows(const char* sql) {
        QStringList result;
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db(), sql, -1, &statement, nullptr), SQLITE_OK) << sql;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList cells;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const auto* text = sqlite3_column_text(statement, i);
                cells << (text ? QString::fromUtf8(reinterpret_cast<const char*>(text))
                               : QStringLiteral("NULL"));
            }
            result << cells.join(QLatin1Char('|'));
        }
        sqlite3_finalize(statement);
        return result;
    }

    // The start-up checks of the master codes on the changed file.
    void expectMastersPass() {
        QString message;
        EXPECT_TRUE(CheckMasterCodes(env.db, message)) << message.toStdString();
    }

    QStringList groupList() { return DBFillMasterList(env.db, MasterList::Groups); }
    QStringList exerciseList(const QString& grp) { return DBFillExerList(env.db, grp); }
};

}  // namespace sorvenka::testing
