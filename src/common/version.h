#pragma once

#include <QString>

namespace sorvenka {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 3;

// "Ver2.0.3": the program's version as the log header, the fatal report and the caption write it.
inline QString versionText() {
    return QStringLiteral("Ver%1.%2.%3")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision);
}

inline const QString kCrLf = QStringLiteral("\r\n");

}  // namespace sorvenka
