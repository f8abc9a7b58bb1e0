#include "common/file_size_signal.h"

#include <csignal>

namespace sorvenka {

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace sorvenka
