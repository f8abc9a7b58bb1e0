#include "backups/verified_copies.h"

#include <sys/stat.h>

#include <QFile>
#include <QRegularExpression>

#include "backups/backup_names.h"
#include "backups/program_tables.h"
#include "backups/small_file.h"
#include "common/paths.h"

namespace sorvenka {

namespace {

// One copy a line: name TAB size SPACE mtime TAB moment of the check.
bool ParseLine(const QByteArray& line, QString& name, QString& stamp, qint64& checkedAt) {
    static const QRegularExpression numbers(QStringLiteral("\\A\\d{1,18} \\d{1,18}\\z"));
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != 3) return false;
    name = QString::fromUtf8(fields[0]);
    stamp = QString::fromLatin1(fields[1]);
    CopyKind kind;
    QDateTime taken;
    bool number = false;
    checkedAt = fields[2].toLongLong(&number);
    return number && checkedAt >= 0 && ParseCopyName(name, kind, taken) &&
           numbers.match(stamp).hasMatch();
}

}  // namespace

VerifiedCopies::VerifiedCopies(QString folder, QDateTime now)
    : folder_(std::move(folder)), now_(std::move(now)) {
    QByteArray text;
    if (!ReadSmallFile(JoinPath(folder_, kRecordName), kMaxRecordBytes, text)) return;
    for (const QByteArray& line : text.split('\n')) {
        QString name, stamp;
        qint64 checkedAt = 0;
        if (ParseLine(line, name, stamp, checkedAt)) verified_.insert(name, {stamp, checkedAt});
    }
}

QString VerifiedCopies::stampOf(const QString& name) const {
    struct stat info {};
    if (::lstat(QFile::encodeName(JoinPath(folder_, name)).constData(), &info) != 0 ||
        !S_ISREG(info.st_mode))
        return QString();
    const qint64 mtime =
        static_cast<qint64>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return QStringLiteral("%1 %2").arg(static_cast<qint64>(info.st_size)).arg(mtime);
}

bool VerifiedCopies::recent(qint64 checkedAt) const {
    const qint64 now = now_.toMSecsSinceEpoch();
    // A check "in the future" (the clock was set back) is no recent check either.
    return checkedAt <= now && now - checkedAt < qint64(kRecheckDays) * 24 * 60 * 60 * 1000;
}

IntegrityReport VerifiedCopies::check(const QString& name) {
    const QString stamp = stampOf(name);
    const auto found = verified_.constFind(name);
    if (!stamp.isEmpty() && found != verified_.constEnd() && found->stamp == stamp &&
        recent(found->checkedAt))
        return {Integrity::Sound, QString()};
    const IntegrityReport checked = CheckCopy(JoinPath(folder_, name));
    if (checked.verdict == Integrity::Sound && !stamp.isEmpty())
        verified_.insert(name, {stamp, now_.toMSecsSinceEpoch()});
    else
        verified_.remove(name);
    return checked;
}

void VerifiedCopies::add(const QString& name) {
    const QString stamp = stampOf(name);
    // The caller's check was the integrity check; the tables are looked at here (quickly).
    QString reason;
    if (stamp.isEmpty() || !CheckProgramTables(JoinPath(folder_, name), QString(), reason)) return;
    verified_.insert(name, {stamp, now_.toMSecsSinceEpoch()});
}

bool VerifiedCopies::save() const {
    QByteArray text;
    for (auto it = verified_.constBegin(); it != verified_.constEnd(); ++it) {
        if (stampOf(it.key()) != it->stamp) continue;  // gone or changed
        text += it.key().toUtf8() + '\t' + it->stamp.toLatin1() + '\t' +
                QByteArray::number(it->checkedAt) + '\n';
    }
    return ReplaceSmallFile(JoinPath(folder_, kRecordName), text);
}

}  // namespace sorvenka
