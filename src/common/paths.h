#pragma once

#include <QString>

namespace sorvenka {

// The folder that contains a folder: the text before the last separator that is not the
// final character; the empty text when there is none ("/opt/P" and "/opt/P/" give "/opt").
QString ParentFolder(const QString& path);
// False for an empty path; true only for an existing directory.
bool FolderExists(const QString& path);
// An existing ordinary file that is not hidden.
bool FileExists(const QString& path);
// Joins folder and name with the platform's separator.
QString JoinPath(const QString& folder, const QString& name);

// The environment variable that names the program's folder in place of the executable's own
// (set by the launcher of an installed program; a relative path is taken from the current one).
inline constexpr char kProgramFolderVariable[] = "SORVENKA_PROGRAM_FOLDER";

// The program's folder (P): the folder named by SORVENKA_PROGRAM_FOLDER when that is set and
// not empty, else the folder of the running executable. Its parent (R) holds the data folders.
QString ProgramFolder();
QString BaseFolder();
// The executable's file name without extension ("Valdrome").
QString ProgramName();

}  // namespace sorvenka
