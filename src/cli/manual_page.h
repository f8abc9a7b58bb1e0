#pragma once

#include <QString>

namespace sorvenka {

// The manual page from its template and the command table. The template holds the prose; its
// marks are filled from the rows:
//   @SYNOPSIS@             a synopsis line for every command
//   @COMMAND --word@       the entry's heading: the command's word and its values
//   @OPTIONS --word@       the list of that command's options, each with its description
// False with the reason when a mark names no command, or a command (or its options) has no
// mark, so that the page cannot drift from the table.
bool FillManualPage(const QString& pageTemplate, QString& page, QString& reason);

}  // namespace sorvenka
