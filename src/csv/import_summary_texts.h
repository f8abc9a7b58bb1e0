#pragma once

#include <QString>
#include <QStringList>

#include "csv/import_summary.h"

namespace sorvenka {

// The proposals of the mapping as a text: 「既存の種目」「名前の表」...
QString NameMatchText(NameMatch match);

// The preview's figures as lines of text; the refused rows one per line (unless
// listRefusedRows is false: then only their count). A file whose format was never found
// gives only the reason it cannot be read.
QStringList SummaryLines(const ImportSummary& summary, bool listRefusedRows = true);
QString RefusedRowText(const RefusedRow& row);

// The reason an import stops when the engine refuses a write (code: the engine's code).
QString WriteFailureText(int code);

}  // namespace sorvenka
