#pragma once

namespace sorvenka {

// Ignores SIGXFSZ for the whole process. A write beyond the file size limit then fails with
// EFBIG and takes the normal failure path (a message, the data intact) instead of ending the
// program without a word.
void IgnoreFileSizeSignal();

}  // namespace sorvenka
