#include "backups/verified_copies.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "common/paths.h"

namespace sorvenka {

VerifiedCopies::VerifiedCopies(QString backupFolder) : folder_(std::move(backupFolder)) {
    QFile record(JoinPath(folder_, kRecordName));
    if (!record.open(QIODevice::ReadOnly)) return;
    // One copy a line: name TAB stamp.
    for (const QByteArray& line : record.readAll().split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        if (tab <= 0) continue;
        stamps_.insert(QString::fromUtf8(line.left(tab)), QString::fromUtf8(line.mid(tab + 1)));
    }
}

QString VerifiedCopies::stampOf(const QString& name) const {
    const QFileInfo info(JoinPath(folder_, name));
    if (!info.isFile()) return QString();
    return QStringLiteral("%1 %2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
}

Integrity VerifiedCopies::verdict(const QString& name) {
    const QString stamp = stampOf(name);
    if (!stamp.isEmpty() && stamps_.value(name) == stamp) return Integrity::Sound;
    const Integrity checked = CheckIntegrity(JoinPath(folder_, name)).verdict;
    if (checked == Integrity::Sound)
        stamps_.insert(name, stamp);
    else
        stamps_.remove(name);
    return checked;
}

void VerifiedCopies::add(const QString& name) {
    const QString stamp = stampOf(name);
    if (!stamp.isEmpty()) stamps_.insert(name, stamp);
}

bool VerifiedCopies::save() const {
    QByteArray text;
    for (auto it = stamps_.constBegin(); it != stamps_.constEnd(); ++it) {
        if (stampOf(it.key()) != it.value()) continue;  // gone or changed
        text += it.key().toUtf8() + '\t' + it.value().toUtf8() + '\n';
    }
    QSaveFile record(JoinPath(folder_, kRecordName));
    return record.open(QIODevice::WriteOnly) && record.write(text) == text.size() &&
           record.commit();
}

}  // namespace sorvenka
