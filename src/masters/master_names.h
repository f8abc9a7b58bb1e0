#pragma once

#include <QString>

namespace sorvenka {

// A name typed for a group or an exercise, without the blanks around it. False with the
// reason when it is empty or holds a control character (a TAB or a line break would split the
// lists and the record lines that show it).
bool CheckedMasterName(const QString& typed, QString& name, QString& message);
// Whether a name holds a control character (a TAB, a line break, ...).
bool NameHasControl(const QString& name);

// The reasons shown when a name is refused.
QString EmptyNameMessage();
QString ControlInNameMessage();
QString GroupNameUsedMessage(const QString& name);
QString ExerciseNameUsedMessage(const QString& name);

}  // namespace sorvenka
