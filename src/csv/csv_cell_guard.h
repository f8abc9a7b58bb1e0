#pragma once

#include <QByteArray>

#include "csv/csv_reader.h"

namespace sorvenka {

// Spreadsheet programs run a cell that begins with = + - @ (or a TAB or CR before one) as a
// formula. The export writes such a text with a leading apostrophe, which the spreadsheet
// shows as text; Sorvenka's own import takes exactly that apostrophe off again. So that the
// round trip loses nothing, a text that already begins with apostrophes followed by one of
// those characters gets one more on the way out, and loses one on the way in.

// Whether the text needs the apostrophe: apostrophes (none or more), then = + - @ TAB or CR.
bool NeedsFormulaGuard(const char* text, qsizetype size);

// The text as the export writes it: with one apostrophe more when NeedsFormulaGuard.
QByteArray GuardedCellText(const char* text, qsizetype size);

// A field of Sorvenka's own file as stored: one apostrophe less when it begins with one or
// more apostrophes followed by = + - @ TAB or CR; any other field stays as it is.
void RemoveFormulaGuard(CsvField& field);

}  // namespace sorvenka
