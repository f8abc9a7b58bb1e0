#include "backups/backup_names.h"

#include <QRegularExpression>

namespace sorvenka {

namespace {

const QRegularExpression& BackupPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^exercise_(\\d{4})_(\\d{2})(\\d{2})-(\\d{2})(\\d{2})_(\\d{2})\\.sqlite3$"));
    return pattern;
}

}  // namespace

QDateTime BackupMoment(const QString& name) {
    const QRegularExpressionMatch match = BackupPattern().match(name);
    if (!match.hasMatch()) return QDateTime();
    const auto number = [&](int group) { return match.captured(group).toInt(); };
    const QDate day(number(1), number(2), number(3));
    const QTime time(number(4), number(5), number(6));
    if (!day.isValid() || !time.isValid()) return QDateTime();
    return QDateTime(day, time);
}

bool IsBackupName(const QString& name) {
    return BackupMoment(name).isValid();
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
