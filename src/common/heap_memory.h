#pragma once

namespace sorvenka {

// The heap kept between queries: freed memory stays with the process up to a bound instead of
// going back to the system after every statement and being faulted in again by the next.
// Called once at the window's start; harmless to call again.
void KeepHeapBetweenQueries();

// Hands the heap's free pages back to the system, for after a large list was replaced.
void ReleaseFreeHeap();

}  // namespace sorvenka
