#pragma once

#include <QDateTime>
#include <QString>
#include <cstdlib>

namespace sorvenka {

enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

// Everything that touches the user or the system beyond files and the database:
// message boxes, the input box, the clock, shell open, sound and ending the program.
// The Qt implementation talks to the desktop; tests use a scripted double.
class Platform {
  public:
    virtual ~Platform() = default;

    // Shows a message box without icon; the first button is the default.
    // An empty caption means the application title.
    virtual Answer message(const QString& text, Buttons buttons = Buttons::Ok,
                           const QString& caption = QString()) = 0;
    // Input box; returns the empty text when the user cancels.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    virtual QDateTime now() = 0;
    // Opens a document with the desktop's associated program; the result is ignored.
    virtual void shellOpen(const QString& path) = 0;
    // Plays a wave file to its end; a missing file or no audio device is silent.
    virtual void playWave(const QString& path) = 0;
    // Ends the process at once with the given status: no unload handling, no further step.
    [[noreturn]] void endProgram(int status) {
        exitProcess(status);
        std::abort();  // exitProcess never returns
    }

    const QString& title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }

  protected:
    virtual void exitProcess(int status) = 0;

  private:
    QString title_ = QStringLiteral("Valdrome");
};

// Status of a process that ended on a failure.
inline constexpr int kFailureExitStatus = 1;

}  // namespace sorvenka
