#include "main_window/window_icon.h"

#include <QImage>
#include <QPixmap>
#include <future>
#include <vector>

namespace sorvenka {

namespace {

using Pictures = std::vector<QImage>;

// Decoded into the form a pixmap keeps, so that making the pixmaps copies nothing.
Pictures DecodePictures() {
    Pictures pictures;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage picture(QStringLiteral(":/icons/%1x%1/sorvenka.png").arg(size));
        picture.convertTo(QImage::Format_ARGB32_Premultiplied);
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

std::future<Pictures>& Pending() {
    static std::future<Pictures> pending;
    return pending;
}

}  // namespace

void StartDecodingWindowIcon() {
    if (!Pending().valid()) Pending() = std::async(std::launch::async, DecodePictures);
}

QIcon WindowIcon() {
    Pictures pictures = Pending().valid() ? Pending().get() : DecodePictures();
    QIcon icon;
    for (QImage& picture : pictures) icon.addPixmap(QPixmap::fromImage(std::move(picture)));
    return icon;
}

}  // namespace sorvenka
