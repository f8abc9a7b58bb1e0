// "出力": the record list as shown, written to a Shift_JIS text file in the rec folder.
#include "common/data_folders.h"
#include "common/platform.h"
#include "export/export_file.h"
#include "export/file_name_prompt.h"
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
    const QString path =
        AskFileNameInRecFolder(platform_, RecordsFolderPath(baseFolder_),
                               QStringLiteral("出力するファイル名を指定してください"),
                               QStringLiteral("出力ファイル名を指定"), proposal);
    if (path.isEmpty()) return;

    QString message;
    if (!WriteLinesToFile(CopyListLines(), path, message)) {
        platform_.message(message);
        return;
    }

    platform_.playWave(StartSoundPath(baseFolder_));
    platform_.shellOpen(path);
}

}  // namespace sorvenka
