#pragma once

#include <QHash>
#include <QString>

#include "backups/integrity.h"

namespace sorvenka {

// The copies of the backup folder that passed the full integrity check, remembered in a
// hidden file of that folder with their size and modification time, so that a copy is
// checked once rather than at every pruning (20 copies of a ten-year log take seconds). A
// copy whose size or time changed since is checked again. A record that cannot be read or
// written only costs time.
class VerifiedCopies {
  public:
    explicit VerifiedCopies(QString backupFolder);

    // Sound when recorded for the file as it is now; otherwise the check's verdict (recorded
    // when sound).
    Integrity verdict(const QString& name);
    // Records a copy that has just passed the check.
    void add(const QString& name);
    // Writes the record (through a temporary file), keeping only names still present.
    bool save() const;

    static inline const QString kRecordName = QStringLiteral(".verified-copies");

  private:
    QString stampOf(const QString& name) const;

    QString folder_;
    QHash<QString, QString> stamps_;  // name -> "size mtime"
};

}  // namespace sorvenka
