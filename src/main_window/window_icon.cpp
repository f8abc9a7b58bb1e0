#include "main_window/window_icon.h"

#include <png.h>

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QResource>
#include <QSysInfo>
#include <algorithm>
#include <array>
#include <future>
#include <map>
#include <vector>

namespace sorvenka {

namespace {

// The pictures drawn for the icon, one file per size.
constexpr std::array kPictureSizes{16, 24, 32, 48, 64, 128, 256};
// The sizes the window hands to the window system for its title bar and task list. The X11
// window system takes every size offered, decoded and copied once more, at the window's
// first showing; the larger pictures are decoded only when something asks for them.
constexpr int kLargestOffered = 64;

// Decoded by libpng from the resource: Qt's image reader would first look through every
// image format plugin installed (and load some, with their libraries) to read one PNG.
QImage DecodePng(const QByteArray& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.constData(),
                                          static_cast<size_t>(bytes.size())))
        return QImage();
    // The byte order of QImage's ARGB32 words in memory.
    image.format =
        QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage picture(static_cast<int>(image.width), static_cast<int>(image.height),
                   QImage::Format_ARGB32);
    if (picture.isNull() ||
        !png_image_finish_read(&image, nullptr, picture.bits(),
                               static_cast<png_int_32>(picture.bytesPerLine()), nullptr)) {
        png_image_free(&image);
        return QImage();
    }
    return picture;
}

QImage DecodePicture(int size) {
    const QString path = QStringLiteral(":/icons/%1x%1/sorvenka.png").arg(size);
    QImage picture = DecodePng(QResource(path).uncompressedData());
    if (picture.isNull()) picture.load(path);
    // Decoded into the form a pixmap keeps, so that making the pixmap copies nothing.
    picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    return picture;
}

using Pictures = std::map<int, QImage>;

Pictures DecodeOffered() {
    Pictures pictures;
    for (int size : kPictureSizes)
        if (size <= kLargestOffered) pictures.emplace(size, DecodePicture(size));
    return pictures;
}

std::future<Pictures>& Pending() {
    static std::future<Pictures> pending;
    return pending;
}

// The picture of the nearest size at or above the one asked for (the largest beyond it),
// decoded at the first request and kept.
class PicturesEngine : public QIconEngine {
  public:
    explicit PicturesEngine(Pictures offered) {
        for (auto& [size, picture] : offered)
            pixmaps_.emplace(size, QPixmap::fromImage(std::move(picture)));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::max(size.width(), size.height());
        int chosen = kPictureSizes.back();
        for (int candidate : kPictureSizes)
            if (candidate >= side) {
                chosen = candidate;
                break;
            }
        auto found = pixmaps_.find(chosen);
        if (found == pixmaps_.end())
            found = pixmaps_.emplace(chosen, QPixmap::fromImage(DecodePicture(chosen))).first;
        QPixmap pixmap = found->second;
        if (pixmap.size() != size)
            pixmap = pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min({size.width(), size.height(), kPictureSizes.back()});
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int size : kPictureSizes)
            if (size <= kLargestOffered) sizes << QSize(size, size);
        return sizes;
    }

    QIconEngine* clone() const override { return new PicturesEngine(*this); }

  private:
    std::map<int, QPixmap> pixmaps_;
};

}  // namespace

void StartDecodingWindowIcon() {
    if (!Pending().valid()) Pending() = std::async(std::launch::async, DecodeOffered);
}

QIcon WindowIcon() {
    return QIcon(new PicturesEngine(Pending().valid() ? Pending().get() : DecodeOffered()));
}

}  // namespace sorvenka
