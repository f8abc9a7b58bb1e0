#include "cli/console_platform.h"

#include <cstdlib>

namespace sorvenka {

Answer ConsolePlatform::message(const QString& text, Buttons buttons, const QString&) {
    err_ << text << Qt::endl;
    // Nobody can answer: a question is taken as declined.
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
    }
    return Answer::Ok;
}

void ConsolePlatform::exitProcess(int status) {
    err_.flush();
    std::exit(status);
}

}  // namespace sorvenka
