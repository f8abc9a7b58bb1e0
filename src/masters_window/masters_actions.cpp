// The buttons of the management window: each asks what it needs, changes the masters through
// the core and reports the result.
#include "common/platform.h"
#include "db/database.h"
#include "masters/exercise_changes.h"
#include "masters/group_changes.h"
#include "masters/list_order.h"
#include "masters/master_rows.h"
#include "masters/merge_copy.h"
#include "masters/rest_day.h"
#include "masters_window/masters_window.h"

namespace sorvenka {

namespace {

// The name cell of the chosen row.
QString SelectedName(const QTableWidget* table) {
    const int row = table->currentRow();
    return row >= 0 && table->item(row, 1) ? table->item(row, 1)->text() : QString();
}

bool SelectedShown(const QTableWidget* table) {
    const int row = table->currentRow();
    return row >= 0 && table->item(row, 2) && table->item(row, 2)->text() == QStringLiteral("表示");
}

}  // namespace

void MastersWindow::addGroup() {
    const QString typed = platform_.inputBox(QStringLiteral("新しいグループの名前"),
                                             QStringLiteral("グループの追加"), QString());
    if (typed.isEmpty()) return;  // cancelled
    QString code, message;
    const bool done = AddGroup(db_.connection(), typed, code, message);
    finish(done, message, QStringLiteral("グループ %1 を追加しました。").arg(code));
    if (done) selectGroup(code);
}

void MastersWindow::renameGroup() {
    const QString grpCd = selectedGrpCd();
    const QString typed =
        platform_.inputBox(QStringLiteral("グループ %1 の新しい名前").arg(grpCd),
                           QStringLiteral("グループの名前の変更"), SelectedName(tblGroups));
    if (typed.isEmpty()) return;
    QString message;
    const bool done = RenameGroup(db_.connection(), grpCd, typed, message);
    finish(done, message, QStringLiteral("グループ %1 の名前を変更しました。").arg(grpCd));
}

void MastersWindow::moveGroup(int step) {
    QString message;
    finish(MoveGroupInOrder(db_.connection(), selectedGrpCd(), step, message), message,
           QStringLiteral("グループの並び順を変更しました。"));
}

void MastersWindow::toggleGroup() {
    const QString grpCd = selectedGrpCd();
    const bool show = !SelectedShown(tblGroups);
    QString message;
    finish(SetGroupShown(db_.connection(), grpCd, show, message), message,
           QStringLiteral("グループ %1 を%2にしました。")
               .arg(grpCd, show ? QStringLiteral("表示") : QStringLiteral("非表示")));
}

void MastersWindow::deleteGroup() {
    const QString grpCd = selectedGrpCd();
    // Refused before anything is asked.
    if (grpCd == kRestDayGrpCd) {
        platform_.message(RestDayRefusal(RestDayChange::DeleteGroup));
        return;
    }
    if (platform_.message(
            QStringLiteral("グループ「%1 %2」を削除しますか？").arg(grpCd, SelectedName(tblGroups)),
            Buttons::OkCancel) != Answer::Ok)
        return;
    QString message;
    finish(DeleteGroup(db_.connection(), grpCd, message), message,
           QStringLiteral("グループ %1 を削除しました。").arg(grpCd));
}

void MastersWindow::addExercise() {
    const QString grpCd = selectedGrpCd();
    const QString typed =
        platform_.inputBox(QStringLiteral("グループ %1 に追加する種目の名前").arg(grpCd),
                           QStringLiteral("種目の追加"), QString());
    if (typed.isEmpty()) return;
    QString code, message;
    const bool done = AddExercise(db_.connection(), grpCd, typed, code, message);
    finish(done, message, QStringLiteral("種目 %1 を追加しました。").arg(code));
    if (done) selectExercise(code);
}

void MastersWindow::renameExercise() {
    const ExerciseKey key = selectedExercise();
    const QString typed =
        platform_.inputBox(QStringLiteral("種目 %1 %2 の新しい名前").arg(key.grpCd, key.exerCd),
                           QStringLiteral("種目の名前の変更"), SelectedName(tblExercises));
    if (typed.isEmpty()) return;
    QString message;
    finish(RenameExercise(db_.connection(), key, typed, message), message,
           QStringLiteral("種目 %1 の名前を変更しました。").arg(key.exerCd));
}

void MastersWindow::moveExerciseInList(int step) {
    const ExerciseKey key = selectedExercise();
    QString message;
    finish(MoveExerciseInOrder(db_.connection(), key.grpCd, key.exerCd, step, message), message,
           QStringLiteral("種目の並び順を変更しました。"));
}

void MastersWindow::toggleExercise() {
    const ExerciseKey key = selectedExercise();
    const bool show = !SelectedShown(tblExercises);
    QString message;
    finish(SetExerciseShown(db_.connection(), key, show, message), message,
           QStringLiteral("種目 %1 を%2にしました。")
               .arg(key.exerCd, show ? QStringLiteral("表示") : QStringLiteral("非表示")));
}

void MastersWindow::deleteExercise() {
    const ExerciseKey key = selectedExercise();
    if (IsRestDay(key.grpCd, key.exerCd)) {
        platform_.message(RestDayRefusal(RestDayChange::Delete));
        return;
    }
    if (platform_.message(QStringLiteral("種目「%1 %2」を削除しますか？")
                              .arg(key.exerCd, SelectedName(tblExercises)),
                          Buttons::OkCancel) != Answer::Ok)
        return;
    QString message;
    finish(DeleteExercise(db_.connection(), key, message), message,
           QStringLiteral("種目 %1 を削除しました。").arg(key.exerCd));
}

void MastersWindow::moveExerciseToGroup() {
    const ExerciseKey key = selectedExercise();
    const QString toGrpCd = cboMoveTo->currentData().toString();
    if (IsRestDay(key.grpCd, key.exerCd)) {
        platform_.message(RestDayRefusal(RestDayChange::Move));
        return;
    }
    ExerciseRow row;
    ReadExercise(db_.connection(), key.grpCd, key.exerCd, row);
    if (platform_.message(
            QStringLiteral("種目「%1 %2」（%3セット）をグループ「%4」へ移動しますか？\r\n"
                           "移動先では新しいコードになります。")
                .arg(key.exerCd, row.name)
                .arg(row.sets)
                .arg(cboMoveTo->currentText()),
            Buttons::OkCancel) != Answer::Ok)
        return;
    QString code, message;
    const bool done = MoveExerciseToGroup(db_.connection(), key, toGrpCd, code, message);
    finish(done, message,
           QStringLiteral("種目をグループ %1 の %2 に移動しました。").arg(toGrpCd, code));
    // Follow it to its new place.
    if (done && selectGroup(toGrpCd)) selectExercise(code);
}

void MastersWindow::mergeExercise() {
    const ExerciseKey from = selectedExercise();
    const QStringList target = cboMergeInto->currentData().toString().split(QLatin1Char('\t'));
    if (target.size() != 2) return;
    const ExerciseKey into{target[0], target[1]};
    MergeFigures figures;
    QString message;
    if (!PreviewMerge(db_.connection(), from, into, figures, message)) {
        platform_.message(message);
        return;
    }
    const QDateTime now = platform_.now();
    if (platform_.message(MergePreviewText(figures, FreeMergeCopyPath(backupFolder_, now)) +
                              QStringLiteral("\r\n\r\n統合してよろしいですか？"),
                          Buttons::OkCancel) != Answer::Ok)
        return;
    MergeOutcome outcome;
    const bool done =
        MergeWithCopy(db_.connection(), dbFilePath_, backupFolder_, now, from, into, outcome);
    finish(done, outcome.message, MergeDoneText(outcome.figures, outcome.copyPath));
    if (done) {
        platform_.message(MergeDoneText(outcome.figures, outcome.copyPath));
        if (selectGroup(into.grpCd)) selectExercise(into.exerCd);
    }
}

}  // namespace sorvenka
