// "更新" and "削除": both act on the set whose key the selected record line carries, never on
// the date, group and exercise controls.
#include "common/platform.h"
#include "db/database.h"
#include "db/record_reads.h"
#include "db/record_writes.h"
#include "main_window/main_window.h"
#include "record_list/update_confirmation.h"

namespace sorvenka {

namespace {

// The stored set as the before line shows it, and its sweat name.
ExerRecord storedSet(Database& db, const ResultTable& table, QString& sweatName) {
    ExerRecord stored;
    stored.hms_sta = db.colValue(table, 1, QStringLiteral("hms_sta"));
    stored.hms_end = db.colValue(table, 1, QStringLiteral("hms_end"));
    stored.target = db.colValue(table, 1, QStringLiteral("target"));
    stored.unit_t = db.colValue(table, 1, QStringLiteral("unit_t"));
    stored.cnt = db.colValue(table, 1, QStringLiteral("cnt"));
    stored.unit = db.colValue(table, 1, QStringLiteral("unit"));
    stored.cnt_min = db.colValue(table, 1, QStringLiteral("cnt_min"));
    stored.cnt_sec = db.colValue(table, 1, QStringLiteral("cnt_sec"));
    sweatName = db.colValue(table, 1, QStringLiteral("sweat_name"));
    stored.comment = db.colValue(table, 1, QStringLiteral("comment"));
    return stored;
}

}  // namespace

void MainWindow::cmdUpdate_Click() {
    RecordKey key;
    if (!SelectedRecordKey(key)) return;

    QString message;
    if (!ValidateEntry(message)) {
        platform_.message(message);
        return;
    }

    QString storedSweatName;
    const ExerRecord stored = storedSet(db_, DBSelectExerByKey(db_, key), storedSweatName);
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
