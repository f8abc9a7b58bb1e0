#include <QApplication>

#include "common/file_size_signal.h"
#include "common/paths.h"
#include "desktop/qt_platform.h"
#include "startup/startup.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
    sorvenka::IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    sorvenka::QtPlatform platform;
    const QString programFolder = sorvenka::ProgramFolder();
    const QString programName = sorvenka::ProgramName();
    return sorvenka::Main(
        platform, programFolder, programName,
        [&](sorvenka::Database& db, const QString& dbFilePath) {
            sorvenka::MainWindow window(
                {db, platform, dbFilePath, sorvenka::ParentFolder(programFolder), programName});
            window.Form_Load();
            window.show();
            return QApplication::exec();
        });
}
