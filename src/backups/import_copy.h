#pragma once

#include <QDateTime>
#include <QString>

struct sqlite3;

namespace sorvenka {

// The copy of the database taken before an import writes, so that the import can be undone
// by a restore: import_exercise_yyyymmdd-hhnnss.sqlite3 in db_backup ("-2", "-3" ... when
// taken), made like the copy before a merge (through the engine, checked, then renamed). It
// is removed again at the end of its scope unless kept: an import that wrote no sets leaves
// nothing to undo.
class ImportCopy {
  public:
    ImportCopy() = default;
    ~ImportCopy();
    ImportCopy(const ImportCopy&) = delete;
    ImportCopy& operator=(const ImportCopy&) = delete;

    // Copies the database of the connection (which must be outside a transaction) into the
    // backup folder beside its folder. False with the reason when no copy could be made.
    bool take(sqlite3* db, const QDateTime& now, QString& message);
    // The import wrote sets: the copy stays.
    void keep() { kept_ = true; }
    const QString& path() const { return path_; }

  private:
    QString path_;
    bool kept_ = false;
};

// "import_exercise_yyyymmdd-hhnnss.sqlite3".
QString ImportCopyName(const QDateTime& moment);

}  // namespace sorvenka
