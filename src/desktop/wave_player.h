#pragma once

#include <QString>

class QEventLoop;

namespace sorvenka {

// Plays a wave file and returns when it has ended. A missing file, a file that does not
// decode or a machine without audio output plays nothing and returns at once; the wait
// is bounded so that a sound system that never reports the end cannot hang the window.
// While it plays, clicks and keys are held back (waitHoldingUserInput).
void playWaveToEnd(const QString& path);

// Runs the loop of such a wait until it quits. Clicks and keys are held back meanwhile and
// reach the window after it.
void waitHoldingUserInput(QEventLoop& loop);

}  // namespace sorvenka
