#pragma once

#include <QByteArray>

#include "csv/csv_reader.h"

namespace sorvenka {

// How the export writes a text so that a spreadsheet shows it as text and Sorvenka's own
// import gets it back unchanged.
//
// Spreadsheet programs run a cell that begins with = + - @ (or a TAB or CR before one) as a
// formula. The export writes such a text with a leading apostrophe, which the spreadsheet
// shows as text. A spreadsheet set to split on ";" starts a cell after every ";" as well, so
// the same apostrophe goes after each ";" that such a start follows. So that the round trip
// loses nothing, a place that already holds apostrophes before one of those characters gets
// one more on the way out, and loses one on the way in.
//
// A NUL cannot stand in the file: it is written as \0, and a run of backslashes before a 0
// in the text is doubled so that it cannot be taken for one ("\0" -> "\\0", NUL -> "\0",
// backslash NUL -> "\\\0"). Backslashes before anything else stay as they are.

// Whether the export writes the text otherwise than stored.
bool NeedsFormulaGuard(const char* text, qsizetype size);

// The text as the export writes it.
QByteArray GuardedCellText(const char* text, qsizetype size);

// A field of Sorvenka's own file as stored: the export's apostrophes and escapes undone; any
// other field stays as it is.
void RemoveFormulaGuard(CsvField& field);

}  // namespace sorvenka
