#pragma once

#include <QString>
#include <QStringList>

#include "common/version.h"

namespace sorvenka {

// Pieces the statement texts of the record and master reads and writes are put together from.
// The values have passed their form checks (value_forms.h) before they get here.

// A value between single quotes.
inline QString QuotedValue(const QString& value) {
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

// Every line ends with CR LF, the last one too.
inline QString LinesWithEnd(const QStringList& lines) {
    return lines.join(kCrLf) + kCrLf;
}

}  // namespace sorvenka
