#pragma once

#include <QIcon>

namespace sorvenka {

// The program's icon, a dumbbell at every size the desktop may ask for. Decoding its pictures
// costs as much as building a third of the window, so the program starts it on a thread of
// its own as soon as the application object exists, and the window takes it when built. The
// sizes handed to the window system are decoded so; the larger ones when first asked for.

// Starts decoding the pictures beside the caller's work (once; later calls do nothing).
void StartDecodingWindowIcon();
// The icon: the pictures started above, waited for, or else decoded now.
QIcon WindowIcon();

}  // namespace sorvenka
