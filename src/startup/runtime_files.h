#pragma once

#include <QString>
#include <vector>

namespace sorvenka {

class Log;
class Platform;

// A file distributed with the program in its folder, and the fingerprint it had then.
struct RuntimeFile {
    QString fileName;        // in the program's folder
    QString nameInMessages;  // how the messages name it
    QString fingerprint;     // LLLL-SSSS-WWWW
};

// The runtime files this build verifies at start: none. The Linux build takes SQLite, Qt and
// the C++ runtime from the system's packages, which their package manager keeps intact; it
// ships no libraries of its own in the program's folder.
std::vector<RuntimeFile> ShippedRuntimeFiles();

// Checks the files in list order and returns when all are present and unchanged. At the first
// missing or changed file its message ("…が見つかりません" or "…がダウンロードしたときのもの
// とは不一致です") is logged and shown, and the program ends. A file that exists but cannot be
// read counts as changed: it is not the file that was distributed.
void CheckRuntimeFiles(Platform& platform, Log& log, const QString& programFolder,
                       const std::vector<RuntimeFile>& files);

// LLLL-SSSS-WWWW: the length, the byte sum and the byte sum weighted 1, 3, 5, 1, 3, 5, ... by
// offset, each modulo 65536 in four uppercase hex digits. The empty text when the file
// cannot be read, which matches no stored fingerprint.
QString FileFingerprint(const QString& path);

}  // namespace sorvenka
