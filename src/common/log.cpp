#include "common/log.h"

#include "common/paths.h"
#include "common/platform.h"
#include "common/regular_file.h"
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
    // Never through a link (its target would be emptied) nor into a FIFO (the start would wait).
    RegularFile file(path_, append ? RegularFile::Access::Append : RegularFile::Access::Replace);
    return file.writeAll(text.toUtf8());
}

}  // namespace sorvenka
