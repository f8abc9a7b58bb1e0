#include "desktop/wave_player.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <QTimer>

#include "desktop/sound_module.h"

namespace sorvenka {

namespace {
// Longest wait for one sound; the program's sounds last a second or two.
constexpr int kMaxPlayMilliseconds = 15000;

// The sound module, loaded once at the first sound: beside the program, else where it was
// built. nullptr when it is not found (the program then plays nothing).
StartSoundFunction StartSound() {
    static const StartSoundFunction start = [] {
        for (const QString& folder :
             {QCoreApplication::applicationDirPath(), QStringLiteral(SORVENKA_SOUND_MODULE_DIR)}) {
            QLibrary module(QDir(folder).filePath(QLatin1String(kSoundModuleName)));
            if (auto found =
                    reinterpret_cast<StartSoundFunction>(module.resolve(kStartSoundSymbol)))
                return found;
        }
        return StartSoundFunction(nullptr);
    }();
    return start;
}
}  // namespace

void playWaveToEnd(const QString& path) {
    if (!QFileInfo(path).isFile()) return;
    const StartSoundFunction start = StartSound();
    if (start == nullptr) return;

    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    // The sound deletes itself when it has ended or failed.
    const QPointer<QObject> sound = start(path);
    if (sound.isNull()) return;
    QObject::connect(sound.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    bound.start(kMaxPlayMilliseconds);
    waitHoldingUserInput(loop);
    delete sound.data();
}

void waitHoldingUserInput(QEventLoop& loop) {
    // The sound plays inside a handler: clicks and keys wait until it ends, so that no other
    // handler runs inside this one. They are kept, not dropped.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace sorvenka
