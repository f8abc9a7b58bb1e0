#include "csv/csv_cell_guard.h"

namespace sorvenka {

namespace {

bool IsFormulaStart(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

// The position of the first character after the leading apostrophes.
qsizetype AfterApostrophes(const char* text, qsizetype size) {
    qsizetype i = 0;
    while (i < size && text[i] == '\'') ++i;
    return i;
}

}  // namespace

bool NeedsFormulaGuard(const char* text, qsizetype size) {
    const qsizetype first = AfterApostrophes(text, size);
    return first < size && IsFormulaStart(text[first]);
}

QByteArray GuardedCellText(const char* text, qsizetype size) {
    QByteArray guarded;
    guarded.reserve(size + 1);
    guarded.append('\'');
    guarded.append(text, size);
    return guarded;
}

void RemoveFormulaGuard(CsvField& field) {
    // Read through the const view: a shared buffer is copied only when an apostrophe goes.
    if (!field) return;
    const QByteArray& text = *field;
    if (text.isEmpty() || text.at(0) != '\'') return;
    if (NeedsFormulaGuard(text.constData(), text.size())) field->remove(0, 1);
}

}  // namespace sorvenka
