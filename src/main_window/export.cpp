// "出力": the record list as shown, written to a Shift_JIS text file in the rec folder.
#include "common/data_folders.h"
#include "common/paths.h"
#include "common/platform.h"
#include "export/export_file.h"
#include "main_window/main_window.h"
#include "record_list/record_lines.h"

namespace sorvenka {

QStringList MainWindow::CopyListLines() const {
    QStringList lines;
    lines.reserve(lstRecord->count());
    for (const ListLine& line : lstRecord->lines()) {
        // Only a record line has a key part to drop; day and comment lines go as shown.
        lines.append(line.kind == LineKind::Record ? ExportLineText(line) : line.text);
    }
    return lines;
}

void MainWindow::cmdFile_Click() {
    const QString proposal =
        ProposedExportName(txtYmd->text(), txtWeekNum->text(), optOrder[0]->isChecked());
    const QString name = platform_.inputBox(QStringLiteral("出力するファイル名を指定してください"),
                                            QStringLiteral("出力ファイル名を指定"), proposal);
    if (name.isEmpty()) return;

    // The file goes into the rec folder and nowhere else.
    if (!IsPlainFileName(name)) {
        platform_.message(QStringLiteral("ファイル名が正しくありません。\r\n"
                                         "recフォルダの中のファイル名だけを指定してください"
                                         "（/ \\ . .. は使えません）。\r\n") +
                          name);
        return;
    }
    const QString recFolder = RecordsFolderPath(baseFolder_);
    if (!FolderExists(recFolder)) {
        platform_.message(QStringLiteral("出力先のフォルダがありません。\r\n") + recFolder);
        return;
    }

    const QString path = JoinPath(recFolder, name);
    QString message;
    if (!WriteLinesToFile(CopyListLines(), path, message)) {
        platform_.message(message);
        return;
    }

    platform_.playWave(StartSoundPath(baseFolder_));
    platform_.shellOpen(path);
}

}  // namespace sorvenka
