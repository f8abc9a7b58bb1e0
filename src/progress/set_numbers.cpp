#include "progress/set_numbers.h"

#include <sqlite3.h>

#include <cmath>

#include "db/prepared_statement.h"

namespace sorvenka {

namespace {

// Character by character: called for every set of the whole history.
TargetUnit UnitOf(const char* text) {
    if (text == nullptr || text[0] == '\0') return TargetUnit::Other;
    if (text[1] == '\0') return text[0] == 'm' ? TargetUnit::M : TargetUnit::Other;
    if (text[2] != '\0') return TargetUnit::Other;
    if (text[0] == 'k' && text[1] == 'g') return TargetUnit::Kg;
    if (text[0] == 'l' && text[1] == 'b') return TargetUnit::Lb;
    if (text[0] == 'k' && text[1] == 'm') return TargetUnit::Km;
    return TargetUnit::Other;
}

}  // namespace

std::optional<long long> StoredWholeNumber(const PreparedStatement& s, int column,
                                           bool& notANumber) {
    switch (s.columnType(column)) {
        case SQLITE_NULL:
            return std::nullopt;
        case SQLITE_INTEGER:
            if (const long long value = s.columnInt(column); value >= 0) return value;
            [[fallthrough]];
        default:
            notANumber = true;
            return std::nullopt;
    }
}

void ReadSetNumbers(const PreparedStatement& s, const SetColumns& at, SetValues& set) {
    switch (s.columnType(at.target)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            set.target = s.columnDouble(at.target);
            // 1e9999 reads as infinity: no load, and scales that no chart can draw.
            if (!std::isfinite(*set.target) || *set.target < 0) set.notANumber = true;
            break;
        case SQLITE_NULL:
            break;
        default:
            set.notANumber = true;
    }
    set.unit = UnitOf(s.cText(at.targetUnit));
    set.cnt = StoredWholeNumber(s, at.count, set.notANumber);
    set.minutes = StoredWholeNumber(s, at.minutes, set.notANumber);
    set.seconds = StoredWholeNumber(s, at.seconds, set.notANumber);
}

}  // namespace sorvenka
