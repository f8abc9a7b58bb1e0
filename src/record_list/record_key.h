#pragma once

#include <QStringView>

#include "db/exer_record.h"

namespace sorvenka {

// Whether the four cells of a set's key are of their form: a valid day yyyy/mm/dd, group and
// exercise codes of two characters, a set number of ASCII digits. Only such a key is carried
// by a record line: a cell written by another tool could otherwise bring a "," or a "PK=" of
// its own and make the line name another set.
bool IsRecordKeyOfForm(QStringView ymd, QStringView grpCd, QStringView exerCd, QStringView setNum);
bool IsRecordKeyOfForm(const RecordKey& key);

}  // namespace sorvenka
