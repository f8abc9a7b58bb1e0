#pragma once

#include <QByteArray>
#include <QString>

namespace sorvenka {

// The text in Shift_JIS (code page 932). A character that the code page cannot hold is
// written as "?", as the Windows conversion writes its default character.
QByteArray EncodeCp932(const QString& text);
// Display width: the byte length of the text in Shift_JIS; an unencodable character counts 1,
// the width of the "?" that stands for it in an exported file.
int ByteWidth(const QString& text);
// Cuts the text to the width or fills it with blanks, in front when right-aligned.
QString PadToWidth(const QString& text, int width, bool rightAligned);
// Splits a signed number of seconds into a 3-column minutes text and a 2-column seconds text.
void SplitDuration(int seconds, QString& minutesText, QString& secondsText);

}  // namespace sorvenka
