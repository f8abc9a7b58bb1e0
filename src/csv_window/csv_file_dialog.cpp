#include "csv_window/csv_file_dialog.h"

#include <QFileDialog>

namespace sorvenka {

QString ChooseCsvFileToImport(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(
        parent, QStringLiteral("読み込むCSVファイル"), folder,
        QStringLiteral("CSVファイル (*.csv);;すべてのファイル (*)"));
}

}  // namespace sorvenka
