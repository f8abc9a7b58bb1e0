#pragma once

#include <QString>

class QObject;

// The sound stack (Qt Multimedia and what it pulls in) lives in a module of its own that is
// loaded at the first sound, so that the program starts without it.
namespace sorvenka {

// The module's file name beside the program.
inline constexpr char kSoundModuleName[] = "sorvenka_sound";
// Its entry: starts playing a wave file and returns an object that deletes itself when the
// sound has ended or failed; nullptr when nothing can be played (no audio output).
inline constexpr char kStartSoundSymbol[] = "SorvenkaStartSound";
using StartSoundFunction = QObject* (*)(const QString& path);

}  // namespace sorvenka
