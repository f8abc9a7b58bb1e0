#pragma once

#include <QString>

namespace sorvenka {

class Platform;

// Asks with the input box (prompt, title, proposed name) for the name of a file directly in
// the rec folder and gives its full path there. The empty text when the user cancelled, when
// the name is not a plain file name or when the folder is missing; the last two are said in a
// message first.
QString AskFileNameInRecFolder(Platform& platform, const QString& recFolder, const QString& prompt,
                               const QString& title, const QString& proposal);

}  // namespace sorvenka
