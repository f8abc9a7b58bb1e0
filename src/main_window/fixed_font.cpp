#include "main_window/fixed_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace sorvenka {

namespace {

// The first installed of the faces, looked up once in the font list. A font that names a
// missing face first makes every new size and script search the system's substitutes, which
// costs more than the rest of the window's start; empty when none of them is installed.
QString FirstInstalled(const QStringList& faces) {
    // The list of installed families, not hasFamily: that asks the system to resolve each
    // missing name as an alias.
    const QStringList installed = QFontDatabase::families();
    for (const QString& face : faces)
        if (installed.contains(face)) return face;
    return QString();
}

void SetFace(QFont& font, const QString& installed, const QStringList& faces) {
    if (installed.isEmpty())
        font.setFamilies(faces);  // none installed: the style hint picks a substitute
    else
        font.setFamily(installed);
}

}  // namespace

const QStringList& FixedFaces() {
    static const QStringList faces{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                                   QStringLiteral("IPAGothic")};
    return faces;
}

const QStringList& WindowFaces() {
    static const QStringList faces{QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic")};
    return faces;
}

QFont FixedFont(int pixelSize, bool bold) {
    static const QString installed = FirstInstalled(FixedFaces());
    QFont font;
    SetFace(font, installed, FixedFaces());
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Kerning would pull pairs of glyphs together and break the columns.
    font.setKerning(false);
    return font;
}

QFont WindowFont() {
    static const QString installed = FirstInstalled(WindowFaces());
    QFont font;
    SetFace(font, installed, WindowFaces());
    font.setPixelSize(12);
    return font;
}

}  // namespace sorvenka
