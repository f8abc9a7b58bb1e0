#include "desktop/wave_player.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace sorvenka {

namespace {
// Longest wait for one sound; the program's sounds last a second or two.
constexpr int kMaxPlayMilliseconds = 15000;
}  // namespace

void playWaveToEnd(const QString& path) {
    if (!QFileInfo(path).isFile()) return;
    if (QMediaDevices::audioOutputs().isEmpty()) return;

    QSoundEffect effect;
    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Error) loop.quit();
        if (effect.status() == QSoundEffect::Ready) effect.play();
    });
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying()) loop.quit();
    });
    effect.setSource(QUrl::fromLocalFile(path));
    if (effect.status() == QSoundEffect::Error) return;
    if (effect.status() == QSoundEffect::Ready) effect.play();
    bound.start(kMaxPlayMilliseconds);
    waitHoldingUserInput(loop);
}

void waitHoldingUserInput(QEventLoop& loop) {
    // The sound plays inside a handler: clicks and keys wait until it ends, so that no other
    // handler runs inside this one. They are kept, not dropped.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace sorvenka
