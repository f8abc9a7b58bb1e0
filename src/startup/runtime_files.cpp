#include "startup/runtime_files.h"

#include <QFile>

#include "common/log.h"
#include "common/paths.h"
#include "common/platform.h"

namespace sorvenka {

namespace {

QString HexGroup(quint32 value) {
    return QStringLiteral("%1").arg(value & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}

[[noreturn]] void ReportAndEnd(Platform& platform, Log& log, const QString& message) {
    log.write(message);
    platform.message(message);
    platform.endProgram(kFailureExitStatus);
}

}  // namespace

std::vector<RuntimeFile> ShippedRuntimeFiles() {
    return {};
}

QString FileFingerprint(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return QString();
    static constexpr quint32 kWeights[3] = {1, 3, 5};
    quint32 sum = 0;
    quint32 weighted = 0;
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const quint32 byte = static_cast<unsigned char>(bytes[k]);
        sum = (sum + byte) & 0xFFFF;
        weighted = (weighted + byte * kWeights[k % 3]) & 0xFFFF;
    }
    return HexGroup(static_cast<quint32>(bytes.size() & 0xFFFF)) + QLatin1Char('-') +
           HexGroup(sum) + QLatin1Char('-') + HexGroup(weighted);
}

void CheckRuntimeFiles(Platform& platform, Log& log, const QString& programFolder,
                       const std::vector<RuntimeFile>& files) {
    for (const RuntimeFile& runtimeFile : files) {
        const QString path = JoinPath(programFolder, runtimeFile.fileName);
        if (!FileExists(path))
            ReportAndEnd(platform, log,
                         runtimeFile.nameInMessages + QStringLiteral("が見つかりません"));
        if (FileFingerprint(path) != runtimeFile.fingerprint)
            ReportAndEnd(platform, log,
                         runtimeFile.nameInMessages +
                             QStringLiteral("がダウンロードしたときのものとは不一致です"));
    }
}

}  // namespace sorvenka
