#pragma once

#include <QFont>

namespace sorvenka {

// The window's fixed-pitch Japanese face: "ＭＳ ゴシック" where it exists, IPAGothic on a
// Linux desktop. Sizes are whole pixels at which a full-width glyph is exactly twice a
// half-width one, so that the columns of the record list line up.
QFont FixedFont(int pixelSize, bool bold = false);

// The sizes of the window (pixels): lists, txtComment, Label2 and lblFirstDay; the larger text
// boxes and txtYmd; lblWeekday.
inline constexpr int kListFontPixels = 12;
inline constexpr int kTextBoxFontPixels = 16;
inline constexpr int kWeekdayFontPixels = 15;

}  // namespace sorvenka
