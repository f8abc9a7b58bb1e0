// Linked with every object of the core library and nothing but Qt Core, SQLite and iconv:
// a core source that uses Qt Gui or Widgets leaves a symbol this link cannot find.
#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return 0;
}
