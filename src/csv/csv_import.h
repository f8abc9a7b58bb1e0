#pragma once

#include <QString>

#include "csv/import_summary.h"
#include "csv/import_summary_texts.h"

namespace sorvenka {

class Database;

// Reads the file, decides every row and, when the options say so, writes all new sets, and
// the exercises and units they need, in one transaction. A preview runs the same way and
// rolls back, so its figures are those of the import. True when the transaction was
// committed, or for a preview when it could be.
bool ImportCsv(Database& db, const QString& path, const ImportOptions& options,
               ImportSummary& summary);

}  // namespace sorvenka
