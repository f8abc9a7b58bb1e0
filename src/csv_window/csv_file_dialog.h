#pragma once

#include <QString>

class QWidget;

namespace sorvenka {

// The desktop's dialog for choosing a CSV file to import, opened in the folder given.
// The empty text when the user cancels.
QString ChooseCsvFileToImport(QWidget* parent, const QString& folder);

}  // namespace sorvenka
