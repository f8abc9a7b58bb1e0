// The sound stack is loaded at the first sound and not before.
#include "desktop/wave_player.h"

#include <gtest/gtest.h>

#include <QFile>

namespace sorvenka {
namespace {

bool Mapped(const char* library) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

TEST(WavePlayer, SoundStackLoadedOnlyWhenASoundIsPlayed) {
    EXPECT_FALSE(Mapped("libQt6Multimedia"));
    playWaveToEnd(QStringLiteral("/nonexistent/start.wav"));  // no file: nothing is loaded
    EXPECT_FALSE(Mapped("libQt6Multimedia"));
    playWaveToEnd(QStringLiteral(SORVENKA_SOURCE_DIR "/data/start.wav"));
    EXPECT_TRUE(Mapped("libsorvenka_sound"));
    EXPECT_TRUE(Mapped("libQt6Multimedia"));
}

}  // namespace
}  // namespace sorvenka
