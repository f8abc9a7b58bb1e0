#include "common/system_error_text.h"

#include <cerrno>
#include <cstring>

namespace sorvenka {

QString SystemErrorText(int error) {
    switch (error) {
        case ENOSPC:
            return QStringLiteral("ディスクの空きが足りません。");
        case EDQUOT:
            return QStringLiteral("ディスクの使用量の上限（クォータ）に達しました。");
        case EFBIG:
            return QStringLiteral("ファイルが大きすぎます（ファイルの大きさの上限に達しました）。");
        case EROFS:
            return QStringLiteral("ディスクが読み取り専用です。");
        case EACCES:
        case EPERM:
            return QStringLiteral("書き込みや読み取りの権限がありません。");
        case ENOENT:
            return QStringLiteral("ファイルかフォルダがありません。");
        case ENOTDIR:
            return QStringLiteral("途中の名前がフォルダではありません。");
        case EISDIR:
            return QStringLiteral("この名前はフォルダです。");
        case ENAMETOOLONG:
            return QStringLiteral("名前が長すぎます。");
        case EIO:
            return QStringLiteral("ディスクの読み書きでエラーが起きました。");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("開いているファイルが多すぎます。");
        case ELOOP:
            return QStringLiteral("シンボリックリンクが多すぎるか、循環しています。");
        case EBUSY:
        case ETXTBSY:
            return QStringLiteral("ファイルがほかのプログラムに使われています。");
        default:
            return QStringLiteral("システムのエラーです（%1: %2）。")
                .arg(error)
                .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

}  // namespace sorvenka
