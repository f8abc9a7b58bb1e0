// 開始 and 完了して登録: a set timed by two clicks once its values are filled.
#include "common/platform.h"
#include "db/database.h"
#include "main_window/main_window.h"
#include "record_list/day_last_sweat.h"

namespace sorvenka {

namespace {

QString TimeNow(Platform& platform) {
    return platform.now().time().toString(QStringLiteral("HH:mm:ss"));
}

}  // namespace

void MainWindow::cmdStartSet_Click() {
    // Unlike 現在時刻, the count just filled stays.
    txtHMS[0]->setText(TimeNow(platform_));
}

void MainWindow::cmdFinishInsert_Click() {
    txtHMS[1]->setText(TimeNow(platform_));
    if (selectedRow(lstSweat) < 0 && db_.isOpen()) {
        const QString sweat = ReadDayLastSweat(db_.connection(), txtYmd->text());
        if (!sweat.isEmpty()) SelectItemByCode(lstSweat, sweat);
    }
    // Through the button, so that whatever follows a 登録 (the 前回 panel, the rest clock, the
    // plan) follows this one too.
    cmdInsert->click();
}

}  // namespace sorvenka
