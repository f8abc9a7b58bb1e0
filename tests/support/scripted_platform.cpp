#include "support/scripted_platform.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace sorvenka::testing {

Answer ScriptedPlatform::message(const QString& text, Buttons buttons, const QString& caption) {
    shown.push_back({text, caption.isEmpty() ? title() : caption, buttons});
    if (!answers.empty()) {
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

QString ScriptedPlatform::inputBox(const QString& prompt, const QString& title,
                                   const QString& defaultText) {
    inputsAsked.push_back({prompt, title, defaultText});
    if (inputs.empty()) return defaultText;
    const QString answer = inputs.front();
    inputs.pop_front();
    return answer;
}

void ScriptedPlatform::exitProcess(int status) {
    if (!transcriptPath.isEmpty()) {
        QFile file(transcriptPath);
        if (file.open(QIODevice::WriteOnly)) {
            QDataStream out(&file);
            out << qint32(shown.size());
            for (const ShownMessage& m : shown)
                out << m.text << m.caption << qint32(static_cast<int>(m.buttons));
        }
    }
    std::fflush(nullptr);
    _exit(status);
}

EndedRun RunExpectingEnd(ScriptedPlatform& platform, const std::function<void()>& code) {
    QTemporaryDir dir;
    platform.transcriptPath = dir.filePath(QStringLiteral("transcript"));
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        code();
        _exit(99);  // returned instead of ending
    }
    int raw = 0;
    waitpid(child, &raw, 0);
    EndedRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.ended = run.status != 99 && WIFEXITED(raw);
    QFile file(platform.transcriptPath);
    if (file.open(QIODevice::ReadOnly)) {
        QDataStream in(&file);
        qint32 count = 0;
        in >> count;
        for (qint32 i = 0; i < count; ++i) {
            ShownMessage m;
            qint32 buttons = 0;
            in >> m.text >> m.caption >> buttons;
            m.buttons = static_cast<Buttons>(buttons);
            run.shown.push_back(m);
        }
    }
    platform.transcriptPath.clear();
    return run;
}

}  // namespace sorvenka::testing
