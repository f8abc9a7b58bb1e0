#pragma once

#include <QString>

namespace sorvenka {

class Platform;

// The log of the current run beside the executable: recreated at every start, one
// time-stamped entry per noteworthy event, UTF-8 with CR LF line ends. Each operation opens,
// writes and closes the file; a log that cannot be written is skipped and the program goes on.
// Only a regular file is written: a link, a FIFO or a device at the name counts as unwritable.
class Log {
  public:
    Log(Platform& platform, QString programFolder, QString programName);

    // Creates or empties the file and writes the two header lines.
    bool start();
    // Appends "HH:NN:SS text"; further lines of a multi-line text carry no time stamp.
    bool write(const QString& text);

    const QString& path() const { return path_; }

  private:
    bool writeText(const QString& text, bool append);

    Platform& platform_;
    QString programName_;
    QString path_;
};

}  // namespace sorvenka
