#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>

namespace sorvenka {

// The export of the record list to a Shift_JIS text file in the rec folder.

// "Rec" + yyyy_mmdd_ + the week count text unchanged + "_asc" or "_desc" + ".txt", for example
// Rec2021_0401_1_asc.txt. A date field that holds no valid day leaves out the date part
// (Rec1_asc.txt), so that an export is still possible.
QString ProposedExportName(const QString& ymd, const QString& weeks, bool ascending);

// A name that names a file directly inside the rec folder: not empty, not "." or "..", and
// without a folder separator or a control character. The file system judges the rest.
bool IsPlainFileName(const QString& name);

// The system's write call; tests replace it to make a write come back short.
using WriteCall = long (*)(int fd, const void* data, unsigned long size);

// Writes the bytes to the file, replacing any regular file of that name. The bytes go into a
// new file beside the target, every write must take all it was given (a short write is a
// failure), and only a complete, flushed file is renamed into place: a failure leaves no
// half-written file and keeps the previous one. A symbolic link at the name is refused and
// left as it is: the file is never written through a link. False with a Japanese message
// naming the file and the reason.
bool WriteFileSafely(const QString& path, const QByteArray& bytes, QString& message,
                     WriteCall writeCall = nullptr);

// The lines in Shift_JIS, each ended by CR LF, written by WriteFileSafely.
bool WriteLinesToFile(const QStringList& lines, const QString& path, QString& message,
                      WriteCall writeCall = nullptr);

// Writes a file through `writeBody`, with the same safety: the bytes go to a file beside the
// target that is renamed into place only when writeBody returned true and every write
// succeeded; otherwise the previous file stays and message names the file and the reason
// (writeBody's own reason when it gives one).
using FileBodyWriter = std::function<bool(QIODevice& file, QString& reason)>;
bool WriteFileSafely(const QString& path, const FileBodyWriter& writeBody, QString& message);

}  // namespace sorvenka
