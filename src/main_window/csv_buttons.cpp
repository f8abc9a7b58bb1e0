// "CSVに書き出す" and "CSVを読み込む": the whole log, or the listed period, as CSV, and CSV
// files of Sorvenka and of other training logs read in after a preview.
#include <QFileInfo>

#include "common/data_folders.h"
#include "common/platform.h"
#include "common/text_tests.h"
#include "csv/csv_export.h"
#include "csv_window/csv_file_dialog.h"
#include "csv_window/csv_import_dialog.h"
#include "export/file_name_prompt.h"
#include "main_window/main_window.h"
#include "record_list/record_period.h"

namespace sorvenka {

void MainWindow::cmdCsvExport_Click() {
    const Answer scope = platform_.message(
        QStringLiteral("すべての記録を書き出しますか？\r\n"
                       "「いいえ」を選ぶと、一覧に表示している期間だけを書き出します。"),
        Buttons::YesNo);
    QString from, to;
    if (scope == Answer::No) {
        const QDate lastDay = ParseYmd(txtYmd->text());
        const int n = PeriodLastOffset(lastDay, txtWeekNum->text());
        if (n < 0) {
            platform_.message(QStringLiteral("一覧に表示している期間がありません。"));
            return;
        }
        from = FormatYmd(lastDay.addDays(-n));
        to = FormatYmd(lastDay);
    }

    const QString path = AskFileNameInRecFolder(
        platform_, RecordsFolderPath(baseFolder_),
        QStringLiteral("書き出すファイル名を指定してください"),
        QStringLiteral("CSVファイル名を指定"), ProposedCsvName(platform_.now().date()));
    if (path.isEmpty()) return;
    // An export of the same day proposes the same name: an earlier file is replaced only when
    // the user says so.
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
        const Answer replace = platform_.message(
            QStringLiteral("同じ名前のファイルがあります。置き換えますか？\r\n") + path,
            Buttons::YesNo);
        if (replace != Answer::Yes) return;
    }
    qint64 rows = 0;
    QString message;
    if (!ExportCsv(db_, path, from, to, rows, message)) {
        platform_.message(message);
        return;
    }
    platform_.message(QStringLiteral("%1セットを書き出しました。\r\n").arg(rows) + path);
}

void MainWindow::cmdCsvImport_Click() {
    const QString recFolder = RecordsFolderPath(baseFolder_);
    const QString path =
        chooseCsvFile ? chooseCsvFile(recFolder) : ChooseCsvFileToImport(this, recFolder);
    if (path.isEmpty()) return;

    CsvImportDialog dialog(db_, platform_, path, this);
    if (dialog.exec() != QDialog::Accepted) return;
    reloadAfterDataChange();
    platform_.message(QStringLiteral("%1セットを読み込みました。").arg(dialog.result().newSets));
}

}  // namespace sorvenka
