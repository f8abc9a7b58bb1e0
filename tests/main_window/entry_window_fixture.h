#pragma once

// The real main window on a real first database in a temporary layout, driven through its
// widgets, with the seam's answers scripted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <memory>

#include "main_window/main_window.h"
#include "record_list/record_lines.h"
#include "support/temp_layout.h"

// Readable failures: texts print as UTF-8.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace sorvenka::testing {

// The day the scripted clock gives: the window starts with it in txtYmd.
inline const QString kToday = QStringLiteral("2024/05/14");

class EntryWindowTest : public ::testing::Test {
  protected:
    // A window whose database holds the first database plus the given rows (SQL run on the
    // file before the window opens).
    void open(const QString& setupSql = QString()) {
        if (!setupSql.isEmpty()) fx.layout.exec(setupSql);
        w = std::make_unique<MainWindow>(WindowContext{
            fx.db, fx.platform, fx.layout.dbPath(), fx.layout.base(), QStringLiteral("Valdrome")});
        w->Form_Load();
        w->show();
        QApplication::setActiveWindow(w.get());
    }

    void SetUp() override { open(); }

    // Selects the group and the exercise by their codes (runs their clicks).
    void pick(const QString& grpCd, const QString& exerCd) {
        MainWindow::SelectItemByCode(w->lstGrp, grpCd);
        MainWindow::SelectItemByCode(w->lstExer, exerCd);
    }
    // Selects the first list item that is exactly the text, or no item for "".
    static void pickItem(QListWidget* list, const QString& text) {
        int row = -1;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text() == text) row = i;
        if (!text.isEmpty()) {
            ASSERT_GE(row, 0) << text.toStdString();
        }
        MainWindow::selectRow(list, row);
    }

    // A valid set in count form: 胸_ベンチプレス, 60kg, 08:10:00-08:12:00, 10回, sweat 2.
    void enterCountSet() {
        pick(QStringLiteral("01"), QStringLiteral("01"));
        w->txtTarget->setText(QStringLiteral("60"));
        pickItem(w->lstUnitTarget, QStringLiteral("kg"));
        w->txtHMS[0]->setText(QStringLiteral("08:10:00"));
        w->txtHMS[1]->setText(QStringLiteral("08:12:00"));
        w->txtCount->setText(QStringLiteral("10"));
        w->txtCountMin->clear();
        w->txtCountSec->clear();
        pickItem(w->lstUnit, QStringLiteral("回"));
        pickItem(w->lstSweat, QStringLiteral("2 普通"));
        w->txtComment->clear();
    }

    // The row of the record line of that key, -1 when it is not listed.
    int recordRow(const RecordKey& key) const {
        for (int i = 0; i < w->lstRecord->count(); ++i) {
            RecordKey found;
            if (w->lstRecord->lineKind(i) == LineKind::Record &&
                ParseRecordKey(w->lstRecord->lineText(i), found) && found.ymd == key.ymd &&
                found.grp_cd == key.grp_cd && found.exer_cd == key.exer_cd &&
                found.set_num == key.set_num)
                return i;
        }
        return -1;
    }
    // Clicks the record line of that key.
    void selectRecord(const RecordKey& key) {
        const int row = recordRow(key);
        ASSERT_GE(row, 0) << key.set_num.toStdString();
        MainWindow::selectRow(w->lstRecord, row);
    }

    QString scalar(const QString& sql) const { return ScalarText(fx.layout.dbPath(), sql); }
    int storedSets() const { return scalar(QStringLiteral("select count(*) from t_exer")).toInt(); }

    OpenDatabase fx;
    std::unique_ptr<MainWindow> w;
};

// Snapshot of every entry control, to show that a command changed none of them.
struct EntryState {
    explicit EntryState(const MainWindow& w)
        : ymd(w.txtYmd->text()),
          grp(MainWindow::selectedText(w.lstGrp)),
          exer(MainWindow::selectedText(w.lstExer)),
          target(w.txtTarget->text()),
          unitTarget(MainWindow::selectedText(w.lstUnitTarget)),
          start(w.txtHMS[0]->text()),
          finish(w.txtHMS[1]->text()),
          count(w.txtCount->text()),
          unit(MainWindow::selectedText(w.lstUnit)),
          minutes(w.txtCountMin->text()),
          seconds(w.txtCountSec->text()),
          sweat(MainWindow::selectedText(w.lstSweat)),
          comment(w.commentText()),
          weeks(w.txtWeekNum->text()),
          recordRow(MainWindow::selectedRow(w.lstRecord)),
          recordLines(w.lstRecord->count()),
          insertOn(w.cmdInsert->isEnabled()),
          updateOn(w.cmdUpdate->isEnabled()),
          deleteOn(w.cmdDelete->isEnabled()),
          unselectOn(w.cmdUnselect->isEnabled()) {}

    bool operator==(const EntryState&) const = default;

    QString ymd, grp, exer, target, unitTarget, start, finish, count, unit, minutes, seconds, sweat,
        comment, weeks;
    int recordRow, recordLines;
    bool insertOn, updateOn, deleteOn, unselectOn;
};

inline void PrintTo(const EntryState& s, std::ostream* os) {
    *os << "{" << s.ymd.toStdString() << "|" << s.grp.toStdString() << "|" << s.exer.toStdString()
        << "|" << s.target.toStdString() << "|" << s.unitTarget.toStdString() << "|"
        << s.start.toStdString() << "|" << s.finish.toStdString() << "|" << s.count.toStdString()
        << "|" << s.unit.toStdString() << "|" << s.minutes.toStdString() << "|"
        << s.seconds.toStdString() << "|" << s.sweat.toStdString() << "|" << s.comment.toStdString()
        << "|" << s.weeks.toStdString() << "| row " << s.recordRow << " of " << s.recordLines
        << " | buttons " << s.insertOn << s.updateOn << s.deleteOn << s.unselectOn << "}";
}

}  // namespace sorvenka::testing
