#include "support/temp_layout.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>

#include "db/first_database.h"

namespace sorvenka::testing {

TempLayout::TempLayout(bool withFirstDatabase) {
    QDir root(dir_.path());
    for (const char* name : {"Valdrome", "db", "db_backup", "rec", "wav", "htm"})
        root.mkpath(QString::fromLatin1(name));
    if (withFirstDatabase) {
        QString error;
        EXPECT_TRUE(CreateFirstDatabase(dbPath(), error)) << error.toStdString();
    }
}

void TempLayout::exec(const QString& sql) const {
    QString error;
    EXPECT_TRUE(RunSqlScript(dbPath(), sql, error)) << error.toStdString();
}

OpenDatabase::OpenDatabase(bool withFirstDatabase)
    : layout(withFirstDatabase),
      log(platform, layout.programFolder(), QStringLiteral("Valdrome")),
      db(platform, log) {
    QString message;
    EXPECT_TRUE(db.open(layout.dbPath(), message)) << message.toStdString();
}

QString ScalarText(const QString& dbPath, const QString& sql) {
    sqlite3* raw = nullptr;
    sqlite3_open(dbPath.toUtf8().constData(), &raw);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> handle(raw, &sqlite3_close);
    sqlite3_stmt* statement = nullptr;
    QString result;
    if (sqlite3_prepare_v2(raw, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(statement, 0);
        result = text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
    }
    sqlite3_finalize(statement);
    return result;
}

}  // namespace sorvenka::testing
