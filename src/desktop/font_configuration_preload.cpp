#include "desktop/font_configuration_preload.h"

#if SORVENKA_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace sorvenka {

FontConfigurationPreload::FontConfigurationPreload() {
#if SORVENKA_HAVE_FONTCONFIG
    // The configuration read here is the one Qt's font database finds: fontconfig keeps one
    // per process.
    thread_ = std::thread([] { FcInit(); });
#endif
}

FontConfigurationPreload::~FontConfigurationPreload() {
    wait();
}

void FontConfigurationPreload::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace sorvenka
