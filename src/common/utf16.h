#pragma once

#include <QStringView>

namespace sorvenka {

// Whether every surrogate of the text is part of a pair (a high one directly followed by a low
// one). The engine reads an unpaired surrogate together with the code unit after it, so a text
// that fails here could swallow the quote that ends it inside a statement.
bool IsValidUtf16(QStringView text);

}  // namespace sorvenka
