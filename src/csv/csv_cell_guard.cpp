#include "csv/csv_cell_guard.h"

#include <cstring>

namespace sorvenka {

namespace {

bool IsFormulaStart(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

// Whether a cell a spreadsheet starts at `at` would run as a formula: apostrophes (none or
// more), then = + - @ TAB or CR.
bool FormulaStartsAt(const char* text, qsizetype size, qsizetype at) {
    while (at < size && text[at] == '\'') ++at;
    return at < size && IsFormulaStart(text[at]);
}

}  // namespace

bool NeedsFormulaGuard(const char* text, qsizetype size) {
    if (FormulaStartsAt(text, size, 0)) return true;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text[i];
        if (c == '\0') return true;
        if (c == '\\' && i + 1 < size && text[i + 1] == '0') return true;
        if (c == ';' && FormulaStartsAt(text, size, i + 1)) return true;
    }
    return false;
}

QByteArray GuardedCellText(const char* text, qsizetype size) {
    QByteArray guarded;
    guarded.reserve(size + 8);
    if (FormulaStartsAt(text, size, 0)) guarded.append('\'');
    qsizetype backslashes = 0;  // a run not yet written: its length depends on what follows
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text[i];
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '\0' || (c == '0' && backslashes > 0)) {
            guarded.append(2 * backslashes + (c == '\0' ? 1 : 0), '\\');
            guarded.append('0');
            backslashes = 0;
            continue;
        }
        guarded.append(backslashes, '\\');
        backslashes = 0;
        guarded.append(c);
        if (c == ';' && FormulaStartsAt(text, size, i + 1)) guarded.append('\'');
    }
    guarded.append(backslashes, '\\');
    return guarded;
}

void RemoveFormulaGuard(CsvField& field) {
    // Read through the const view: a shared buffer is copied only when something changes.
    if (!field) return;
    const QByteArray& text = *field;
    const char* bytes = text.constData();
    const qsizetype size = text.size();
    const bool startGuard = size > 0 && bytes[0] == '\'' && FormulaStartsAt(bytes, size, 0);
    if (!startGuard && std::memchr(bytes, ';', size) == nullptr &&
        std::memchr(bytes, '\\', size) == nullptr)
        return;

    QByteArray stored;
    stored.reserve(size);
    qsizetype backslashes = 0;
    for (qsizetype i = startGuard ? 1 : 0; i < size; ++i) {
        const char c = bytes[i];
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '0' && backslashes > 0) {
            // An odd run ends in the escape of a NUL; an even one was a run before a 0.
            stored.append(backslashes / 2, '\\');
            stored.append(backslashes % 2 == 1 ? '\0' : '0');
            backslashes = 0;
            continue;
        }
        stored.append(backslashes, '\\');
        backslashes = 0;
        stored.append(c);
        if (c == ';' && i + 1 < size && bytes[i + 1] == '\'' && FormulaStartsAt(bytes, size, i + 1))
            ++i;  // the apostrophe the export put after the ";"
    }
    stored.append(backslashes, '\\');
    if (stored != text) field = stored;
}

}  // namespace sorvenka
