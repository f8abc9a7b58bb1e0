#pragma once

#include <QString>
#include <vector>

#include "db/exer_record.h"
#include "db/result_table.h"

namespace sorvenka {

class Database;

// The kinds of lines of the record list. Only a record line carries a key; the kind is kept
// beside the text so that a comment or a name holding "PK=" never acts as a key.
enum class LineKind { Day = 0, Record = 1, Comment = 2 };

struct ListLine {
    QString text;
    LineKind kind;
};

// "2021/04/22(木)" for a day text.
QString DayLineText(const QString& ymd);

// The lines of one day's sets: each record line, then (when shown) its comment lines.
// Cells are read by column name; a missing column ends the program through the fatal report.
std::vector<ListLine> FormatDayRecords(Database& db, const QString& ymd, const ResultTable& table,
                                       bool showComments);

// The lines of one day's sets as FormatDayRecords gives them for DBSelectDayExer's table,
// appended to lines; the rows go from the engine straight into the lines, without a table.
void AppendDayRecords(Database& db, const QString& ymd, int range, const QString& grpCd,
                      const QString& exerCd, bool showComments, std::vector<ListLine>& lines);

// The key part at the end of a record line ("PK=" ymd "," grp "," exer "," set). The key part
// is the line's last "PK=", since names before it may hold the same letters; false unless the
// four pieces are a key of its form (a row not of its form is listed without a key).
bool ParseRecordKey(const QString& recordLine, RecordKey& key);

// A record line as exported: cut before its key part, trailing blanks removed.
QString ExportLineText(const ListLine& line);

}  // namespace sorvenka
