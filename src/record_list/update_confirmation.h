#pragma once

#include <QString>

#include "db/exer_record.h"

namespace sorvenka {

// The question asked before a stored set is rewritten: the set's key, then the stored values
// and the entered values one above the other, each followed by its comment.

// Stored values as they are: start-finish, load and unit, count and unit or the duration,
// then the sweat name. No value is fitted to a width.
QString UpdateBeforeLine(const ExerRecord& stored, const QString& sweatName);
// Entered values; in count form the load and the count are fitted to 3 columns, and the sweat
// name always to 10, so that the count columns line up with those of the record list.
QString UpdateAfterLine(const ExerRecord& entered, const QString& sweatName);
// 14 blanks before the comment and before every line of it (an empty comment gives the blanks).
QString IndentedComment(const QString& comment);
// The whole question, lines separated by CR LF and ended by one.
QString UpdateConfirmationText(const RecordKey& key, const ExerRecord& stored,
                               const QString& storedSweatName, const ExerRecord& entered,
                               const QString& enteredSweatName);

}  // namespace sorvenka
