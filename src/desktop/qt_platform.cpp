#include "desktop/qt_platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

#include "desktop/wave_player.h"

namespace sorvenka {

Answer QtPlatform::message(const QString& text, Buttons buttons, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption.isEmpty() ? title() : caption, text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    // Comments, names and file names are shown as typed, never read as markup.
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
        case Buttons::Ok:
            box.setDefaultButton(box.addButton(QMessageBox::Ok));
            break;
        case Buttons::OkCancel:
            box.setDefaultButton(box.addButton(QMessageBox::Ok));
            box.addButton(QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setDefaultButton(box.addButton(QMessageBox::Yes));
            box.addButton(QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            // Escape or the close box: the negative answer of the buttons shown.
            return buttons == Buttons::YesNo      ? Answer::No
                   : buttons == Buttons::OkCancel ? Answer::Cancel
                                                  : Answer::Ok;
    }
}

QString QtPlatform::inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                                 QLineEdit::Normal, defaultText, &ok);
    return ok ? answer : QString();
}

QDateTime QtPlatform::now() {
    return QDateTime::currentDateTime();
}

void QtPlatform::shellOpen(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtPlatform::playWave(const QString& path) {
    playWaveToEnd(path);
}

void QtPlatform::exitProcess(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace sorvenka
