#pragma once

#include <QString>

namespace sorvenka {

// Plays a wave file and returns when it has ended. A missing file, a file that does not
// decode or a machine without audio output plays nothing and returns at once; the wait
// is bounded so that a sound system that never reports the end cannot hang the window.
void playWaveToEnd(const QString& path);

}  // namespace sorvenka
