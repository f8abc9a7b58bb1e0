#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "common/log.h"
#include "db/database.h"
#include "support/scripted_platform.h"

namespace sorvenka::testing {

// A working folder in a temporary directory: the program folder P ("Valdrome") and beside it
// db, db_backup, rec, wav and htm, with the first database in db.
class TempLayout {
  public:
    explicit TempLayout(bool withFirstDatabase = true);

    QString base() const { return dir_.path(); }
    QString programFolder() const { return base() + QStringLiteral("/Valdrome"); }
    QString folder(const QString& name) const { return base() + QLatin1Char('/') + name; }
    QString dbPath() const {
        return folder(QStringLiteral("db")) + QStringLiteral("/exercise.sqlite3");
    }

    // Runs statements on the database file directly, outside the program's connection.
    void exec(const QString& sql) const;

  private:
    QTemporaryDir dir_;
};

// A layout with the program's connection open on its database, a scripted seam and a log.
struct OpenDatabase {
    explicit OpenDatabase(bool withFirstDatabase = true);

    TempLayout layout;
    ScriptedPlatform platform;
    Log log;
    Database db;
};

// Reads one text result of a query on the file directly ("" when no row).
QString ScalarText(const QString& dbPath, const QString& sql);

}  // namespace sorvenka::testing
