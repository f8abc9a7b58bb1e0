#include "common/utf16.h"

namespace sorvenka {

bool IsValidUtf16(QStringView text) {
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (!c.isSurrogate()) continue;
        if (c.isLowSurrogate() || i + 1 == size || !text[i + 1].isLowSurrogate()) return false;
        ++i;  // the low half of the pair
    }
    return true;
}

}  // namespace sorvenka
