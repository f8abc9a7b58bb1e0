#include <QApplication>
#include <QCoreApplication>

#include "cli/backup_command.h"
#include "cli/csv_command.h"
#include "cli/master_command.h"
#include "common/file_size_signal.h"
#include "common/paths.h"
#include "desktop/font_configuration_preload.h"
#include "desktop/qt_platform.h"
#include "startup/startup.h"
#include "window/main_window.h"
#include "window/window_icon.h"

int main(int argc, char** argv) {
    sorvenka::IgnoreFileSizeSignal();
    // The CSV commands run for scripts, without a window and without a display.
    if (sorvenka::IsCsvCommandLine(argc, argv)) {
        QCoreApplication app(argc, argv);
        return sorvenka::RunCsvCommandLine(QCoreApplication::arguments());
    }
    // Groups and exercises put right from scripts, also without a display.
    if (sorvenka::IsMasterCommandLine(argc, argv)) {
        QCoreApplication app(argc, argv);
        return sorvenka::RunMasterCommandLine(QCoreApplication::arguments());
    }
    if (sorvenka::IsBackupCommandLine(QStringList(argv, argv + argc))) {
        QCoreApplication app(argc, argv);
        return sorvenka::RunBackupCommandLine(QCoreApplication::arguments());
    }
    // Read on another thread while this one makes the application object.
    sorvenka::FontConfigurationPreload fontConfiguration;
    QApplication app(argc, argv);
    fontConfiguration.wait();
    // Ties the window to its menu entry and icon on the desktop (Wayland's application id).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.sorvenka.Sorvenka"));
    sorvenka::QtPlatform platform;
    const QString programFolder = sorvenka::ProgramFolder();
    const QString programName = sorvenka::ProgramName();
    return sorvenka::Main(
        platform, programFolder, programName,
        [&](sorvenka::Database& db, const QString& dbFilePath) {
            // Decoded on another thread while this one builds the window.
            sorvenka::StartDecodingWindowIcon();
            sorvenka::MainWindow window(
                {db, platform, dbFilePath, sorvenka::ParentFolder(programFolder), programName});
            window.Form_Load();
            window.show();
            return QApplication::exec();
        });
}
