#include <malloc.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include "cli/command_line.h"
#include "common/file_size_signal.h"
#include "common/paths.h"
#include "db/database.h"
#include "desktop/font_configuration_preload.h"
#include "desktop/qt_platform.h"
#include "desktop/qt_translation.h"
#include "main_window/main_window.h"
#include "main_window/window_icon.h"
#include "startup/startup.h"

int main(int argc, char** argv) {
    sorvenka::IgnoreFileSizeSignal();
    // Decided before any application object exists: --help and --version need no display,
    // and the commands run for scripts without a window.
    QStringList words;
    for (int i = 1; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
    const sorvenka::CommandLineChoice choice = sorvenka::ChooseCommandLine(words);
    const QString name = sorvenka::CommandLineName(argv[0]);
    switch (choice.kind) {
        case sorvenka::CommandLineChoice::Kind::Help:
            QTextStream(stdout) << sorvenka::CommandLineHelp(name);
            return 0;
        case sorvenka::CommandLineChoice::Kind::Version:
            QTextStream(stdout) << sorvenka::CommandLineVersion();
            return 0;
        case sorvenka::CommandLineChoice::Kind::Usage:
            QTextStream(stderr) << name << ": " << choice.reason << '\n'
                                << sorvenka::CommandLineHelp(name);
            return 2;
        case sorvenka::CommandLineChoice::Kind::Command: {
            QCoreApplication app(argc, argv);
            return choice.command->run(QCoreApplication::arguments());
        }
        case sorvenka::CommandLineChoice::Kind::Window:
            break;
    }
    // Read on another thread while this one makes the application object.
    sorvenka::FontConfigurationPreload fontConfiguration;
    QApplication app(argc, argv);
    fontConfiguration.wait();
    // Buttons of message boxes and the file dialogs in Japanese, like every text of the program.
    sorvenka::InstallQtJapanese(app);
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
            // What the checks and the first reads have freed goes back to the system before the
            // window's first paint: the engine's unused pages, then the allocator's free ones.
            db.releaseMemory();
            malloc_trim(0);
            window.show();
            return QApplication::exec();
        });
}
