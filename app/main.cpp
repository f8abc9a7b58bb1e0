#include <QApplication>

#include "common/paths.h"
#include "common/qt_platform.h"
#include "startup/startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    sorvenka::QtPlatform platform;
    return sorvenka::Main(platform, sorvenka::ProgramFolder(), sorvenka::ProgramName());
}
