// "更新" and "削除": both act on the set whose key the selected record line carries, never on
// the date, group and exercise controls.
#include "common/platform.h"
#include "db/database.h"
#include "db/record_reads.h"
#include "db/record_writes.h"
#include "main_window/main_window.h"
#include "record_list/update_confirmation.h"

namespace sorvenka {

void MainWindow::cmdUpdate_Click() {
    RecordKey key;
    if (!SelectedRecordKey(key)) return;

    QString message;
    if (!ValidateEntry(message)) {
        platform_.message(message);
        return;
    }

    QString storedSweatName;
    const ExerRecord stored = DBReadStoredSet(db_, key, storedSweatName);
    ExerRecord entered;
    entered.ymd = key.ymd;
    entered.grp_cd = key.grp_cd;
    entered.exer_cd = key.exer_cd;
    entered.set_num = key.set_num;
    ReadEntryFields(entered);

    const QString question = UpdateConfirmationText(key, stored, storedSweatName, entered,
                                                    selectedText(lstSweat).mid(2));
    if (platform_.message(question, Buttons::YesNo) != Answer::Yes) return;

    message.clear();
    const bool written = !entered.cnt.isEmpty() ? DBUpdateExerCount(db_, entered, message)
                                                : DBUpdateExerTime(db_, entered, message);
    if (!written) {
        platform_.message(message);
        return;
    }

    RefreshRecordList();

    clearPerSetFields();

    cmdInsert->setEnabled(true);
    cmdUpdate->setEnabled(false);
    cmdDelete->setEnabled(false);
    cmdUnselect->setEnabled(false);
    Q_EMIT setStored(key);
}

void MainWindow::cmdDelete_Click() {
    RecordKey key;
    if (!SelectedRecordKey(key)) return;

    if (platform_.message(QStringLiteral("選択のレコードを削除します。よろしいですか？"),
                          Buttons::OkCancel) != Answer::Ok)
        return;

    QString message;
    if (!DBDeleteExer(db_, key, message)) {
        platform_.message(message);
        return;
    }

    txtTarget->setText(QString());
    txtHMS[0]->setText(QString());
    txtHMS[1]->setText(QString());
    txtCount->setText(QString());
    setCommentText(QString());
    selectRow(lstUnit, -1);
    selectRow(lstSweat, -1);

    cmdInsert->setEnabled(true);
    cmdUpdate->setEnabled(false);
    cmdDelete->setEnabled(false);
    cmdUnselect->setEnabled(false);

    RefreshRecordList();
}

}  // namespace sorvenka
