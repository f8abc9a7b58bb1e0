#include "db/engine_causes.h"

#include <sqlite3.h>

namespace sorvenka {

QString PlainEngineCause(int code, const QString& dbPath) {
    const QString file = QStringLiteral("\r\n\u3000") + dbPath;
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return QStringLiteral(
                       "データベースのファイルがほかのプログラムに使われているため、"
                       "読み書きできませんでした。") +
                   file +
                   QStringLiteral(
                       "\r\n\r\nDB Browser for SQLite "
                       "などでファイルを開いていたら、閉じてください。");
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return QStringLiteral("データベースのファイルに書き込めません（読み取り専用です）。") +
                   file +
                   QStringLiteral("\r\n\r\nファイルとフォルダに書き込めるかを確かめてください。");
        case SQLITE_FULL:
            return QStringLiteral(
                       "ディスクがいっぱいのため、データベースに書き込めませんでした。") +
                   file + QStringLiteral("\r\n\r\nディスクの空きを増やしてください。");
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
            return QStringLiteral(
                       "データベースのファイルを読み書きできませんでした"
                       "（ディスクやファイルの不具合のおそれがあります）。") +
                   file;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return QStringLiteral("データベースのファイルが壊れています。") + file +
                   QStringLiteral(
                       "\r\n\r\n「バックアップから復元」で、正常なバックアップに"
                       "戻せます。");
        default:
            return QString();
    }
}

}  // namespace sorvenka
