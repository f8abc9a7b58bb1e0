#include "db/first_database.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <memory>

namespace sorvenka {

extern const char* const kFirstDatabaseSql;

bool RunSqlScript(const QString& path, const QString& script, QString& error) {
    sqlite3* raw = nullptr;
    const int openCode = sqlite3_open(path.toUtf8().constData(), &raw);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> handle(raw, &sqlite3_close);
    if (openCode != SQLITE_OK) {
        error = QStringLiteral("cannot open %1: %2")
                    .arg(path, QString::fromUtf8(sqlite3_errstr(openCode)));
        return false;
    }
    char* text = nullptr;
    const QByteArray utf8 = script.toUtf8();
    if (sqlite3_exec(handle.get(), utf8.constData(), nullptr, nullptr, &text) != SQLITE_OK) {
        error = QString::fromUtf8(text ? text : "unknown error");
        sqlite3_free(text);
        return false;
    }
    return true;
}

bool CreateFirstDatabase(const QString& path, QString& error) {
    if (QFileInfo::exists(path)) {
        error = QStringLiteral("%1 exists already; it is left as it is").arg(path);
        return false;
    }
    // Written whole in one transaction, so a failure leaves no half-made tables behind.
    const QString script = QStringLiteral("begin;\n") + QString::fromUtf8(kFirstDatabaseSql) +
                           QStringLiteral("\ncommit;\n");
    if (RunSqlScript(path, script, error)) return true;
    QFile::remove(path);
    return false;
}

}  // namespace sorvenka
