#include "main_window/progress_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace sorvenka {

namespace {

OpenProgressFunction& LinkedOpener() {
    static OpenProgressFunction linked = nullptr;
    return linked;
}

}  // namespace

OpenProgressFunction LoadProgressModule(const QStringList& folders, QString& error) {
    for (const QString& folder : folders) {
        // Never unloaded: the window's code stays in use until the program ends.
        QLibrary module(QDir(folder).filePath(QLatin1String(kProgressModuleName)));
        if (auto open = reinterpret_cast<OpenProgressFunction>(module.resolve(kOpenProgressSymbol)))
            return open;
        if (error.isEmpty()) error = module.errorString();
    }
    return nullptr;
}

OpenProgressFunction ProgressWindowOpener(QString& error) {
    if (LinkedOpener() != nullptr) return LinkedOpener();
    // Loaded once; a failed load is tried again at the next click.
    static OpenProgressFunction loaded = nullptr;
    if (loaded == nullptr)
        loaded = LoadProgressModule(
            {QCoreApplication::applicationDirPath(), QStringLiteral(SORVENKA_PROGRESS_MODULE_DIR)},
            error);
    return loaded;
}

void UseLinkedProgressWindow(OpenProgressFunction open) {
    LinkedOpener() = open;
}

}  // namespace sorvenka
