#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

#include "backups/integrity.h"

namespace sorvenka {

// The copies of a folder that passed CheckCopy, remembered in a hidden file of that folder
// with their size, modification time and the moment of the check, so that a copy is checked
// once rather than at every pruning or listing (20 copies of a ten-year log take seconds). A
// copy whose size or time changed is checked again, and so is one whose last check is older
// than kRecheckDays: a copy can rot on the disk with its size and time unchanged. The record
// is the program's own small file: read only when it is a regular file no larger than
// kMaxRecordBytes, written without following a link; a line it cannot read is passed over. A
// record that cannot be read or written only costs time.
class VerifiedCopies {
  public:
    VerifiedCopies(QString folder, QDateTime now);

    // Sound when recorded for the file as it is now and checked lately; otherwise the verdict
    // of CheckCopy (recorded when sound), with its reason.
    IntegrityReport check(const QString& name);
    Integrity verdict(const QString& name) { return check(name).verdict; }
    // Records a copy that has just passed the integrity check, when it holds the program's tables.
    void add(const QString& name);
    // Writes the record, keeping only names still present and unchanged.
    bool save() const;

    static inline const QString kRecordName = QStringLiteral(".verified-copies");
    static constexpr qint64 kMaxRecordBytes = 256 * 1024;
    static constexpr int kRecheckDays = 7;

  private:
    struct Verified {
        QString stamp;     // "size mtime" of the file when it was checked
        qint64 checkedAt;  // milliseconds since the epoch
    };
    QString stampOf(const QString& name) const;
    bool recent(qint64 checkedAt) const;

    QString folder_;
    QDateTime now_;
    QHash<QString, Verified> verified_;
};

}  // namespace sorvenka
