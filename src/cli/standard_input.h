#pragma once

#include <QString>
#include <QTemporaryFile>

namespace sorvenka {

// The most a script may send on standard input for an import.
inline constexpr qint64 kStandardInputLimit = qint64{1} << 30;

// Reads the descriptor (standard input) to its end into a temporary file, which the import
// then reads like any file (twice: the encoding, then the rows). Stops with a message when
// more than `limit` bytes come, or at once when the first bytes are UTF-16 or nothing but NUL
// bytes (/dev/zero), so that endless input neither runs for ever nor fills the disk.
bool SpoolToTemporaryFile(int fd, QTemporaryFile& spool, qint64 limit, QString& message);

}  // namespace sorvenka
