#pragma once

#include <QString>
#include <QStringList>

#include "progress_window/progress_context.h"

namespace sorvenka {

// The progress window's entry, from the module loaded once at the first use: beside the
// program, else in the folder it was built in. Null when the module cannot be loaded, with
// the loader's reason in error.
OpenProgressFunction ProgressWindowOpener(QString& error);

// Loads the module from the first of the folders that holds a usable one.
OpenProgressFunction LoadProgressModule(const QStringList& folders, QString& error);

// For programs that link the progress window in (its tests): the entry used in place of the
// module's.
void UseLinkedProgressWindow(OpenProgressFunction open);

}  // namespace sorvenka
