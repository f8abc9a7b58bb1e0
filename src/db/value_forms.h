#pragma once

#include <QString>

#include "db/exer_record.h"

namespace sorvenka {

// Every value is checked against its form before it is placed into a statement, so that no
// typed or stored text can change what a statement does. Each check returns false with an
// English message naming the value when it is not of its form.

// A day text naming a real day, 2-character codes, a set number of digits.
bool CheckKeyForm(const RecordKey& key, QString& message);
// The day and codes only (the numbering read has no set number yet).
bool CheckDayAndCodes(const QString& ymd, const QString& grpCd, const QString& exerCd,
                      QString& message);
// The whole set in count form (cnt digits) or duration form (cnt_min digits or empty,
// cnt_sec digits): times of the time form or empty, a decimal load, a 1-character sweat code,
// units without single quotes. The comment may hold anything but the character U+0000 (the
// engine would end the statement there): its quotes are doubled. Codes, units and the
// comment must be valid UTF-16 (no unpaired surrogate).
bool CheckRecordForm(const ExerRecord& r, bool countForm, QString& message);
// Start and finish times: the time form or empty.
bool CheckTimesForm(const QString& hmsSta, const QString& hmsEnd, QString& message);

// The single checks the ones above are made of. `name` is the column the value goes to and
// names it in the message.
bool CheckDayForm(const QString& name, const QString& ymd, QString& message);
// A code of exactly `length` characters without a single quote.
bool CheckCodeForm(const QString& name, const QString& code, int length, QString& message);

}  // namespace sorvenka
