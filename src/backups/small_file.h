#pragma once

#include <QByteArray>
#include <QString>

namespace sorvenka {

// The bytes of a small regular file of the program's own, opened without following a link and
// without waiting on a FIFO. False (bytes empty) when the name is anything but a regular
// file, cannot be read, or holds more than maxBytes.
bool ReadSmallFile(const QString& path, qint64 maxBytes, QByteArray& bytes);

// Puts the bytes in the place of the file: written to a new file beside it (never through a
// link), flushed, then renamed over the name. A link at the name is replaced, its target left
// alone; a FIFO, folder or device there is left as it is (false). False when any step fails;
// the previous file then stays.
bool ReplaceSmallFile(const QString& path, const QByteArray& bytes);

}  // namespace sorvenka
