#include "cli/standard_input.h"

#include <unistd.h>

#include <QDir>
#include <cerrno>

#include "common/system_error_text.h"
#include "csv/csv_reader.h"

namespace sorvenka {

namespace {

const QString kStandardInput = QStringLiteral("標準入力");

QString Cannot(const QString& reason) {
    return QStringLiteral("%1を読み込めませんでした。\r\n").arg(kStandardInput) + reason;
}

}  // namespace

bool SpoolToTemporaryFile(int fd, QTemporaryFile& spool, qint64 limit, QString& message) {
    spool.setFileTemplate(QDir::temp().filePath(QStringLiteral("sorvenka-stdin-XXXXXX.csv")));
    if (!spool.open()) {
        message = Cannot(
            QStringLiteral("一時ファイルを作れませんでした（%1）。").arg(spool.errorString()));
        return false;
    }
    constexpr qsizetype kPiece = 64 * 1024;
    QByteArray buffer(kPiece, Qt::Uninitialized);
    qint64 total = 0;
    bool headChecked = false;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), static_cast<size_t>(kPiece));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            message = Cannot(SystemErrorText(errno));
            return false;
        }
        if (got == 0) break;
        const QByteArray piece = QByteArray::fromRawData(buffer.constData(), got);
        if (!headChecked) {
            headChecked = true;
            if (LooksLikeUtf16(piece)) {
                message =
                    Cannot(QStringLiteral("UTF-16のデータです。UTF-8（またはCP932）で"
                                          "送ってください。"));
                return false;
            }
            if (piece.count('\0') == piece.size()) {
                message = Cannot(QStringLiteral("NUL文字ばかりで、CSVではありません。"));
                return false;
            }
        }
        total += got;
        if (total > limit) {
            message = Cannot(QStringLiteral("%1 バイトを超えました。ファイルに保存してから"
                                            "そのファイルを指定してください。")
                                 .arg(limit));
            return false;
        }
        if (spool.write(piece) != got) {
            message = Cannot(QStringLiteral("一時ファイルに書き込めませんでした（%1）。")
                                 .arg(spool.errorString()));
            return false;
        }
    }
    if (!spool.flush()) {
        message = Cannot(
            QStringLiteral("一時ファイルに書き込めませんでした（%1）。").arg(spool.errorString()));
        return false;
    }
    return true;
}

}  // namespace sorvenka
