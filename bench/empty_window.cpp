// The yardstick of the start-up benchmark: an empty Qt window of the main window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1259, 662);
    window.show();
    return QApplication::exec();
}
