#pragma once

#include <QString>
#include <QTextStream>

#include "common/platform.h"

namespace sorvenka {

// A message of the window on a terminal: the window breaks lines with CR LF, a terminal with LF.
inline QString ConsoleText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The seam for the command line: what a window would show goes to standard error, nothing
// is asked, and ending the program leaves the process with the status.
class ConsolePlatform : public Platform {
  public:
    explicit ConsolePlatform(QTextStream& err) : err_(err) {}

    Answer message(const QString& text, Buttons buttons, const QString& caption) override;
    QString inputBox(const QString&, const QString&, const QString&) override { return QString(); }
    QDateTime now() override { return QDateTime::currentDateTime(); }
    void shellOpen(const QString&) override {}
    void playWave(const QString&) override {}

  protected:
    void exitProcess(int status) override;

  private:
    QTextStream& err_;
};

}  // namespace sorvenka
