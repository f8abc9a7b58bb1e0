// A second yardstick of the start-up benchmark: the empty window with the least text the
// program's window shows, one Japanese label in the window's face and one text box in the
// fixed-pitch face. What any window with such text pays for Qt's fonts (their configuration,
// a face per size, shaping) before it maps.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1259, 662);
    QFont windowFont(QStringLiteral("IPAPGothic"));
    windowFont.setPixelSize(12);
    window.setFont(windowFont);
    auto* label = new QLabel(QStringLiteral("初めて記録した日"), &window);
    label->setGeometry(148, 12, 97, 13);
    QFont fixedFont(QStringLiteral("IPAGothic"));
    fixedFont.setPixelSize(16);
    auto* box = new QLineEdit(QStringLiteral("2021/03/00"), &window);
    box->setFont(fixedFont);
    box->setGeometry(8, 8, 101, 21);
    window.show();
    return QApplication::exec();
}
