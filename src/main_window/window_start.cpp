// Window start and the lists that choose what the record list shows.
#include "main_window/window_start.h"

#include <QGuiApplication>
#include <QScreen>

#include "common/platform.h"
#include "common/text_tests.h"
#include "common/version.h"
#include "db/master_lists.h"
#include "db/record_reads.h"
#include "main_window/main_window.h"

namespace sorvenka {

void FillListFromCsv(QListWidget* list, const QString& text) {
    MainWindow::replaceItems(list, text.isEmpty() ? QStringList() : text.split(QLatin1Char(',')));
}

void MainWindow::Form_Load() {
    platform_.setTitle(QStringLiteral("Sorvenka"));
    setWindowTitle(platform_.title() + QLatin1Char(' ') + programName_ + QLatin1Char(' ') +
                   versionText() + QStringLiteral(" - ") + dbFilePath_);

    lblFirstDay->setText(DBGetFirstYmd(db_));
    if (lblFirstDay->text().isEmpty()) lblFirstDayTitle->clear();

    // 50 pixels below the top of the screen, centred across it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + 50);
    }

    replaceItems(lstGrp, DBFillMasterList(db_, MasterList::Groups));
    replaceItems(lstUnit, DBFillMasterList(db_, MasterList::CountUnits));
    selectRow(lstUnit, 0);
    replaceItems(lstUnitTarget, DBFillMasterList(db_, MasterList::LoadUnits));
    selectRow(lstUnitTarget, 0);
    replaceItems(lstSweat, DBFillMasterList(db_, MasterList::SweatLevels));
    FillListFromCsv(lstRange, kRangeItems);

    // Runs the date's change behaviour: the weekday and the first build of the record list.
    txtYmd->setText(FormatYmd(platform_.now().date()));

    txtTarget->clear();
    txtHMS[0]->clear();
    txtHMS[1]->clear();
    txtCount->clear();
    setCommentText(QString());
}

void MainWindow::Form_Activate() {
    selectRow(lstGrp, 0);
    lstGrp->setFocus();
    selectRow(lstRange, 0);
}

void MainWindow::txtYmd_Change() {
    // A half-typed date changes nothing.
    const QString text = txtYmd->text();
    if (!IsValidYmd(text)) return;
    lblWeekday->setText(WeekdayText(ParseYmd(text)));
    RefreshRecordList();
}

void MainWindow::lstGrp_Click() {
    const QString grpCd = selectedText(lstGrp).left(2);
    replaceItems(lstExer, DBFillExerList(db_, grpCd));
    if (!m_loadingRecord && selectedRow(lstRange) != 0) RefreshRecordList();
}

void MainWindow::lstExer_Click() {
    const QString grpCd = selectedText(lstGrp).left(2);
    const QString exerCd = selectedText(lstExer).left(2);
    // The rest day fills itself in, even while a stored set is being loaded.
    if (grpCd == QStringLiteral("99") && exerCd == QStringLiteral("99")) {
        txtTarget->setText(QStringLiteral("0"));
        txtCount->setText(QStringLiteral("0"));
        selectRow(lstUnit, 0);
        selectRow(lstSweat, 0);
    }
    if (!m_loadingRecord && selectedRow(lstRange) != 0) RefreshRecordList();
}

void MainWindow::lstRange_Click() {
    RefreshRecordList();
}

}  // namespace sorvenka
