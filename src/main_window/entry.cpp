// Entry of a new set: the validation shared with the update, reading the entry controls, and
// the "登録" command.
#include "common/platform.h"
#include "common/text_tests.h"
#include "db/database.h"
#include "db/record_writes.h"
#include "db/value_forms.h"
#include "main_window/main_window.h"

namespace sorvenka {

namespace {

bool noSelection(const QListWidget* list) {
    return MainWindow::selectedRow(list) < 0;
}

// Seconds are judged by their digits: any number of digits above 59 is out of range.
bool secondsAbove59(const QString& digits) {
    qsizetype first = 0;
    while (first < digits.size() && digits[first] == QLatin1Char('0')) ++first;
    const QString significant = digits.mid(first);
    return significant.size() > 2 || (!significant.isEmpty() && significant.toInt() > 59);
}

}  // namespace

bool MainWindow::ValidateEntry(QString& message) {
    const auto fail = [&message](QWidget* focus, const QString& text) {
        message = text;
        focus->setFocus();
        return false;
    };

    if (noSelection(lstGrp)) return fail(lstGrp, QStringLiteral("グループを選択してください"));
    if (noSelection(lstExer)) return fail(lstExer, QStringLiteral("種目を選択してください"));
    const QString target = txtTarget->text();
    if (!target.isEmpty() && !IsDecimalText(target))
        return fail(txtTarget,
                    QStringLiteral("重量は数字だけか「数字と小数点」で入力してください"));
    const QString start = txtHMS[0]->text();
    if (!start.isEmpty() && !IsTimeText(start))
        return fail(txtHMS[0], QStringLiteral("有効な開始時刻を入力してください"));
    const QString finish = txtHMS[1]->text();
    if (!finish.isEmpty() && !IsTimeText(finish))
        return fail(txtHMS[1], QStringLiteral("有効な完了時刻を入力してください"));

    // A set is counted or timed, never both; the filled fields say which.
    const QString count = txtCount->text();
    const QString minutes = txtCountMin->text();
    const QString seconds = txtCountSec->text();
    if (!count.isEmpty() && minutes.isEmpty() && seconds.isEmpty()) {
        if (!IsDigitsText(count))
            return fail(txtCount, QStringLiteral("回数を数字で入力してください"));
        if (noSelection(lstUnit)) return fail(lstUnit, QStringLiteral("単位を選択してください"));
    } else {
        if (seconds.isEmpty() || !count.isEmpty())
            return fail(txtCountSec,
                        QStringLiteral("回数かタイムのどちらか一方だけを入力してください"));
        if (!minutes.isEmpty() && !IsDigitsText(minutes))
            return fail(txtCountMin, QStringLiteral("分に数字で入力するか空にしてください"));
        if (!IsDigitsText(seconds))
            return fail(txtCountSec, QStringLiteral("秒に数字で入力してください"));
        if (secondsAbove59(seconds))
            return fail(txtCountSec, QStringLiteral("秒は0-59の範囲で入力してください"));
    }

    if (noSelection(lstSweat)) return fail(lstSweat, QStringLiteral("発汗状況を選択してください"));
    return true;
}

void MainWindow::ReadRecordKey(QString& ymd, QString& grpCd, QString& exerCd) {
    ymd = txtYmd->text();
    grpCd = selectedText(lstGrp).left(2);
    exerCd = selectedText(lstExer).left(2);
}

void MainWindow::ReadEntryFields(ExerRecord& r) {
    r.target = txtTarget->text();
    if (r.target.isEmpty()) r.target = QStringLiteral("0");
    r.unit_t = selectedText(lstUnitTarget);
    r.unit = selectedText(lstUnit);
    r.cnt_min = txtCountMin->text();
    r.cnt_sec = txtCountSec->text();
    r.hms_sta = txtHMS[0]->text();
    r.hms_end = txtHMS[1]->text();
    r.cnt = txtCount->text();
    r.sweat_cd = selectedText(lstSweat).left(1);
    r.comment = commentText();
}

void MainWindow::cmdInsert_Click() {
    QString message;
    if (!ValidateEntry(message)) {
        platform_.message(message);
        return;
    }
    // The day is typed freely; only a real day in the yyyy/mm/dd form may be stored, or the
    // set would be listed under no day and numbered apart from its day.
    if (!IsValidYmd(txtYmd->text())) {
        txtYmd->setFocus();
        platform_.message(QStringLiteral("日付をyyyy/mm/ddの形で正しく入力してください"));
        return;
    }

    ExerRecord r;
    ReadRecordKey(r.ymd, r.grp_cd, r.exer_cd);
    const int maxSetNum = DBGetMaxSetNum(db_, r.ymd, r.grp_cd, r.exer_cd);
    if (maxSetNum < 0) {  // a code not of its form: nothing can be numbered or stored
        CheckDayAndCodes(r.ymd, r.grp_cd, r.exer_cd, message);
        platform_.message(message);
        return;
    }
    r.set_num = QString::number(qint64(maxSetNum) + 1);
    ReadEntryFields(r);

    if (!DBCheckSameTime(db_, r.ymd, r.grp_cd, r.exer_cd, r.set_num, r.hms_sta, r.hms_end,
                         message)) {
        if (platform_.message(message, Buttons::OkCancel) == Answer::Cancel) return;
    }

    message.clear();
    const bool stored =
        !r.cnt.isEmpty() ? DBInsertExerCount(db_, r, message) : DBInsertExerTime(db_, r, message);
    if (!stored) {
        platform_.message(message);
        return;
    }

    RefreshRecordList();

    clearPerSetFields();
    Q_EMIT setStored(RecordKey{r.ymd, r.grp_cd, r.exer_cd, r.set_num});
}

// Ready for the next set of the same exercise: the fields that differ from set to set are
// emptied; date, group, exercise, load and both units stay.
void MainWindow::clearPerSetFields() {
    txtHMS[0]->setText(QString());
    txtHMS[1]->setText(QString());
    txtCount->setText(QString());
    txtCountMin->setText(QString());
    txtCountSec->setText(QString());
    setCommentText(QString());
    selectRow(lstSweat, -1);
}

}  // namespace sorvenka
