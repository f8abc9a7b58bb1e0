#pragma once

#include <QSet>
#include <QString>

namespace sorvenka {

// The next free two-character master code among `used`: first the numbers 01 to 99 after the
// highest number in use, then the gaps among them, then two characters of 0-9, A-Z and a-z
// ("0A" ... "zz") in that order; never "00". Codes stay exactly two characters, so the start-up
// checks of the masters still pass. Empty when every such code is taken.
QString NextFreeCode(const QSet<QString>& used);

}  // namespace sorvenka
