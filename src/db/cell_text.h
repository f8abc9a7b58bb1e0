#pragma once

#include <QString>

namespace sorvenka {

// The text of a FLOAT cell: plain decimal text rounded to 15 significant digits, "." as the
// decimal point, no trailing zeros, no point for integral values and never an exponent, so
// that a load read back passes the entry's decimal test and stores the same value again.
// 2.5 gives "2.5", 100.0 gives "100", 0.00005 gives "0.00005", 1e20 gives
// "100000000000000000000". Zero of either sign gives "0"; the infinities, which no decimal
// text can name, give "Inf" and "-Inf", and not-a-number "NaN".
QString FloatCellText(double value);

}  // namespace sorvenka
