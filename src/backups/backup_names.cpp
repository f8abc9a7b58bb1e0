#include "backups/backup_names.h"

#include <QRegularExpression>

namespace sorvenka {

namespace {

// \A and \z: a name is the whole text, with nothing (not even a line end) after it.
const QRegularExpression& DailyPattern() {
    static const QRegularExpression pattern(QStringLiteral(
        "\\Aexercise_(\\d{4})_(\\d{2})(\\d{2})-(\\d{2})(\\d{2})_(\\d{2})\\.sqlite3\\z"));
    return pattern;
}

// The copies taken before a merge or an import: merge_exercise_yyyymmdd-hhnnss.sqlite3, with
// "-2", "-3" ... before the extension when the name was taken.
const QRegularExpression& TakenBeforePattern() {
    static const QRegularExpression pattern(QStringLiteral(
        "\\A(merge|import)_exercise_(\\d{4})(\\d{2})(\\d{2})-(\\d{2})(\\d{2})(\\d{2})"
        "(?:-\\d{1,4})?\\.sqlite3\\z"));
    return pattern;
}

// The file kept by a restore: exercise_before_restore_yyyy_mmdd-hhnn_ss.sqlite3, "_2" ...
const QRegularExpression& KeptPattern() {
    static const QRegularExpression pattern(QStringLiteral(
        "\\Aexercise_before_restore_(\\d{4})_(\\d{2})(\\d{2})-(\\d{2})(\\d{2})_(\\d{2})"
        "(?:_\\d{1,3})?\\.sqlite3\\z"));
    return pattern;
}

// The moment in the six groups from `first` on; invalid when it is no real date and time.
QDateTime MomentOf(const QRegularExpressionMatch& match, int first) {
    if (!match.hasMatch()) return QDateTime();
    const auto number = [&](int group) { return match.captured(first + group).toInt(); };
    const QDate day(number(0), number(1), number(2));
    const QTime time(number(3), number(4), number(5));
    if (!day.isValid() || !time.isValid()) return QDateTime();
    return QDateTime(day, time);
}

}  // namespace

QDateTime BackupMoment(const QString& name) {
    return MomentOf(DailyPattern().match(name), 1);
}

bool IsBackupName(const QString& name) {
    return BackupMoment(name).isValid();
}

bool ParseCopyName(const QString& name, CopyKind& kind, QDateTime& taken) {
    taken = BackupMoment(name);
    kind = CopyKind::Daily;
    if (taken.isValid()) return true;
    const QRegularExpressionMatch before = TakenBeforePattern().match(name);
    taken = MomentOf(before, 2);
    if (taken.isValid()) {
        kind = before.captured(1) == QLatin1String("merge") ? CopyKind::BeforeMerge
                                                            : CopyKind::BeforeImport;
        return true;
    }
    taken = MomentOf(KeptPattern().match(name), 1);
    kind = CopyKind::BeforeRestore;
    return taken.isValid();
}

QString CopyKindText(CopyKind kind) {
    switch (kind) {
        case CopyKind::Daily:
            return QStringLiteral("毎日");
        case CopyKind::BeforeMerge:
            return QStringLiteral("統合の前");
        case CopyKind::BeforeImport:
            return QStringLiteral("取り込みの前");
        case CopyKind::BeforeRestore:
            break;
    }
    return QStringLiteral("復元の前");
}

QString MomentText(const QDateTime& moment) {
    return moment.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString KeptFileName(const QString& kind, const QDateTime& now, int attempt) {
    QString name = QStringLiteral("exercise_") + kind +
                   now.toString(QStringLiteral("'_'yyyy'_'MMdd'-'HHmm'_'ss"));
    if (attempt > 1) name += QStringLiteral("_%1").arg(attempt);
    return name + QStringLiteral(".sqlite3");
}

}  // namespace sorvenka
