// What a screen reader speaks for each control: a text box or list its caption's text, and the
// buttons that look alike (ｸﾘｱ, 0, 現在時刻, < and >) the field they serve. The captions shown
// stay as they are.
#include "main_window/main_window.h"

namespace sorvenka {

void MainWindow::nameControlsForScreenReaders() {
    const std::initializer_list<std::pair<QWidget*, const char*>> names{
        {txtYmd, "日付"},
        {lstGrp, "グループ"},
        {lstExer, "種目"},
        {txtTarget, "重量/距離"},
        {lstUnitTarget, "重量/距離の単位"},
        {cmdClear[0], "重量をクリア"},
        {cmdZero[0], "重量を0に"},
        {txtHMS[0], "開始"},
        {cmdClear[1], "開始をクリア"},
        {cmdNow[0], "開始を現在時刻に"},
        {txtHMS[1], "完了"},
        {cmdClear[2], "完了をクリア"},
        {cmdNow[1], "完了を現在時刻に"},
        {txtCount, "カウント"},
        {cmdClear[3], "カウントをクリア"},
        {cmdZero[1], "カウントを0に"},
        {lstUnit, "単位"},
        {lstSweat, "発汗状況"},
        {txtComment, "コメント"},
        {cmdClear[4], "コメントをクリア"},
        {cmdInsert, "登録"},
        {cmdUpdate, "更新"},
        {txtCountMin, "タイムの分"},
        {txtCountSec, "タイムの秒"},
        {cmdClear[5], "タイムをクリア"},
        {txtWeekNum, "期間の週数"},
        {cmdInc[0], "期間を1週減らす"},
        {cmdInc[1], "期間を1週増やす"},
        {lstRange, "種目の範囲"},
        {optOrder[0], "日付の昇順"},
        {optOrder[1], "日付の降順"},
        {optComment[0], "コメントを非表示"},
        {optComment[1], "コメントを表示"},
        {lstRecord, "これまでの記録"},
        {cmdDelete, "削除"},
        {cmdUnselect, "選択解除"},
        {cmdFile, "ファイルに出力"},
        {cmdOpen[0], "DBを開く"},
        {cmdOpen[2], "使い方"},
        {cmdEnd, "終了"},
        {cmdProgress, "推移"},
        {cmdCsvExport, "CSVに書き出す"},
        {cmdCsvImport, "CSVを読み込む"},
        {cmdMasters, "種目の管理"},
        {cmdRestoreBackup, "バックアップから復元"},
        {cmdStartSet, "セットを開始"},
        {cmdFinishInsert, "完了して登録"},
        {cmdRoutine, "メニュー"},
    };
    for (const auto& [control, name] : names) control->setAccessibleName(QString::fromUtf8(name));
}

}  // namespace sorvenka
