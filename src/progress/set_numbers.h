#pragma once

#include "progress/day_accumulator.h"

namespace sorvenka {

class PreparedStatement;

// Where a statement's rows hold a set's numbers.
struct SetColumns {
    int target, targetUnit, count, minutes, seconds;
};

// The set's load or distance, its unit, count and duration from the current row, each column
// read once; a value that is not a number marks the set. Times and the count's unit are left
// to the caller.
void ReadSetNumbers(const PreparedStatement& row, const SetColumns& at, SetValues& set);

// A stored whole number from 0, nothing for NULL; anything else marks the set as not a number.
std::optional<long long> StoredWholeNumber(const PreparedStatement& row, int column,
                                           bool& notANumber);

}  // namespace sorvenka
