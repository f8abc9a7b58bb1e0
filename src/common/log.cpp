#include "common/log.h"

#include <QFile>

#include "common/paths.h"
#include "common/platform.h"
#include "common/text_tests.h"
#include "common/version.h"

namespace sorvenka {

Log::Log(Platform& platform, QString programFolder, QString programName)
    : platform_(platform),
      programName_(std::move(programName)),
      path_(JoinPath(programFolder, programName_ + QStringLiteral("_log.txt"))) {}

bool Log::start() {
    const QDate today = platform_.now().date();
    const QString header = programName_ + QStringLiteral(".exe\u3000") + versionText() + kCrLf +
                           FormatYmd(today) + QLatin1Char('(') + WeekdayText(today) +
                           QLatin1Char(')') + kCrLf;
    return writeText(header, false);
}

bool Log::write(const QString& text) {
    const QString stamp = platform_.now().time().toString(QStringLiteral("HH:mm:ss"));
    return writeText(stamp + QLatin1Char(' ') + text + kCrLf, true);
}

bool Log::writeText(const QString& text, bool append) {
    QFile file(path_);
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | (append ? QIODevice::Append : QIODevice::Truncate);
    if (!file.open(mode)) return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size();
}

}  // namespace sorvenka
