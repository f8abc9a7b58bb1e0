#pragma once

#include <thread>

namespace sorvenka {

// Reads the system's font configuration (fontconfig's files, a few milliseconds of parsing)
// on a thread of its own while the application object is made, instead of at the window's
// first text. wait() joins it; so does the destructor. Does nothing where the program was
// built without fontconfig.
class FontConfigurationPreload {
  public:
    FontConfigurationPreload();
    ~FontConfigurationPreload();
    FontConfigurationPreload(const FontConfigurationPreload&) = delete;
    FontConfigurationPreload& operator=(const FontConfigurationPreload&) = delete;

    void wait();

  private:
    std::thread thread_;
};

}  // namespace sorvenka
