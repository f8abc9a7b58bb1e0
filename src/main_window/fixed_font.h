#pragma once

#include <QFont>
#include <QStringList>

namespace sorvenka {

// The faces asked for, in order of preference; a font names the first one installed.
const QStringList& FixedFaces();
const QStringList& WindowFaces();

// The window's fixed-pitch Japanese face: "ＭＳ ゴシック" where it exists, IPAGothic on a
// Linux desktop. Sizes are whole pixels at which a full-width glyph is exactly twice a
// half-width one, so that the columns of the record list line up.
QFont FixedFont(int pixelSize, bool bold = false);

// The window's own font for buttons, frames, option buttons and plain labels: the Japanese
// desktop's "MS UI Gothic" at 9 pt where it exists, the proportional IPA face otherwise, at a
// size at which the captions fit their places.
QFont WindowFont();

// The sizes of the window (pixels): lists, txtComment, Label2 and lblFirstDay; the larger text
// boxes and txtYmd; lblWeekday.
inline constexpr int kListFontPixels = 12;
inline constexpr int kTextBoxFontPixels = 16;
inline constexpr int kWeekdayFontPixels = 15;

}  // namespace sorvenka
