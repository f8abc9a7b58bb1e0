#pragma once

#include <QString>
#include <functional>

class QWidget;

// What the main window knows of the progress window. The window (Qt Charts and what it pulls
// in) lives in a module of its own that is loaded at the first click on 推移, so that the
// program starts without it; this header names the module's one entry and its arguments.
namespace sorvenka {

class Database;
class Platform;

// What the progress window needs from the window that opens it.
struct ProgressContext {
    Database& db;
    Platform& platform;
    QString recFolder;                                  // where the charts are saved
    std::function<QString()> mainDate;                  // the main window's date text
    std::function<void(const QString&)> showDayInMain;  // sets the main window's date
};

// The group, the exercise and the period's last day chosen when the window opens.
struct ProgressChoice {
    QString grpCd;
    QString exerCd;
    QString ymd;
};

// The module's file name beside the program.
inline constexpr char kProgressModuleName[] = "sorvenka_progress";
// Its entry: makes the progress window as a child window of parent, chooses and reads. The
// window carries kProgressWindowName as its object name and has the invokable method
// kReloadListsMethod, which refills its group and exercise choices after the masters changed.
inline constexpr char kOpenProgressSymbol[] = "SorvenkaOpenProgress";
using OpenProgressFunction = QWidget* (*)(const ProgressContext& context,
                                          const ProgressChoice& choice, QWidget* parent);
inline constexpr char kProgressWindowName[] = "progressWindow";
inline constexpr char kReloadListsMethod[] = "reloadLists";

}  // namespace sorvenka
