#include "window/fixed_font.h"

#include <QStringList>

namespace sorvenka {

QFont FixedFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Kerning would pull pairs of glyphs together and break the columns.
    font.setKerning(false);
    return font;
}

QFont WindowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(12);
    return font;
}

}  // namespace sorvenka
