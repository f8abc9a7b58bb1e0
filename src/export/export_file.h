#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace sorvenka {

// The export of the record list to a Shift_JIS text file in the rec folder.

// "Rec" + yyyy_mmdd_ + the week count text unchanged + "_asc" or "_desc" + ".txt", for example
// Rec2021_0401_1_asc.txt. A date field that holds no valid day leaves out the date part
// (Rec1_asc.txt), so that an export is still possible.
QString ProposedExportName(const QString& ymd, const QString& weeks, bool ascending);

// A name that names a file directly inside the rec folder: not empty, not "." or "..", and
// without a folder separator or a control character. The file system judges the rest.
bool IsPlainFileName(const QString& name);

// Writes the lines in Shift_JIS, each ended by CR LF, replacing any file of that name. The
// file is written beside the target and renamed into place only when complete, so a failed
// write leaves no half-written file and keeps the previous one. False with a Japanese
// message naming the file and the reason.
bool WriteLinesToFile(const QStringList& lines, const QString& path, QString& message);

// Writes the bytes as they are (a picture), with the same replacement and messages.
bool WriteBytesToFile(const QByteArray& bytes, const QString& path, QString& message);

}  // namespace sorvenka
