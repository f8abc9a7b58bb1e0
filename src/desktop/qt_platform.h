#pragma once

#include "common/platform.h"

namespace sorvenka {

// The desktop implementation of the seam.
class QtPlatform : public Platform {
  public:
    Answer message(const QString& text, Buttons buttons, const QString& caption) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    QDateTime now() override;
    void shellOpen(const QString& path) override;
    void playWave(const QString& path) override;

  protected:
    void exitProcess(int status) override;
};

}  // namespace sorvenka
