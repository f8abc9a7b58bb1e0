// The module that plays sounds: everything that needs Qt Multimedia.
#include "desktop/sound_module.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

extern "C" Q_DECL_EXPORT QObject* SorvenkaStartSound(const QString& path) {
    if (QMediaDevices::audioOutputs().isEmpty()) return nullptr;
    auto* effect = new QSoundEffect;
    auto finish = [effect] { effect->deleteLater(); };
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect, finish] {
        if (effect->status() == QSoundEffect::Error) finish();
        if (effect->status() == QSoundEffect::Ready && !effect->isPlaying()) effect->play();
    });
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect, finish] {
        if (!effect->isPlaying()) finish();
    });
    effect->setSource(QUrl::fromLocalFile(path));
    if (effect->status() == QSoundEffect::Error) {
        delete effect;
        return nullptr;
    }
    if (effect->status() == QSoundEffect::Ready) effect->play();
    return effect;
}
