#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "common/platform.h"

namespace sorvenka::testing {

struct ShownMessage {
    QString text;
    QString caption;
    Buttons buttons;
};

// The test double of the seam: records what the program shows, answers from a script
// (the first button when the script is empty) and reads a fixed clock.
class ScriptedPlatform : public Platform {
  public:
    Answer message(const QString& text, Buttons buttons, const QString& caption) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QDateTime now() override { return clock; }
    void shellOpen(const QString& path) override { opened.push_back(path); }
    void playWave(const QString& path) override { played.push_back(path); }

  protected:
    // Writes the messages shown so far for the waiting test, then ends the process.
    void exitProcess(int status) override;

  public:
    std::vector<ShownMessage> shown;
    std::deque<Answer> answers;
    std::deque<QString> inputs;  // input box answers; the default text when empty
    struct InputAsked {
        QString prompt, title, defaultText;
    };
    std::vector<InputAsked> inputsAsked;
    std::vector<QString> opened;
    std::vector<QString> played;
    QDateTime clock{QDate(2024, 5, 14), QTime(9, 30, 15)};
    QString transcriptPath;
};

// What a run that was expected to end the program left behind.
struct EndedRun {
    bool ended = false;  // false when the code returned instead of ending
    int status = -1;
    std::vector<ShownMessage> shown;  // every message shown before the end
};

// Runs the code in a child process (the program ends by leaving the process) and reports
// how it ended and what it showed.
EndedRun RunExpectingEnd(ScriptedPlatform& platform, const std::function<void()>& code);

}  // namespace sorvenka::testing
