#pragma once

#include <QString>

namespace sorvenka {

// The cause of a failed file operation (an errno value) in plain Japanese: a full disk, a
// read-only disk, missing rights, a missing folder, ... Causes without a text of their own
// give the system's text with the number.
QString SystemErrorText(int error);

}  // namespace sorvenka
