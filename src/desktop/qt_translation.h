#pragma once

#include <QString>

class QCoreApplication;

namespace sorvenka {

// Loads Qt's own Japanese translation (message-box buttons, file dialogs) from the folder
// Qt was built to look in, or from `folder` when given; the program speaks Japanese whatever
// the system's language. False when the translation is not installed: Qt's English stays.
bool InstallQtJapanese(QCoreApplication& application, const QString& folder = QString());

}  // namespace sorvenka
