// The entry of the progress window's module.
#include <type_traits>

#include "progress_window/progress_context.h"
#include "progress_window/progress_window.h"

extern "C" Q_DECL_EXPORT QWidget* SorvenkaOpenProgress(const sorvenka::ProgressContext& context,
                                                       const sorvenka::ProgressChoice& choice,
                                                       QWidget* parent) {
    auto* window = new sorvenka::ProgressWindow(context, parent);
    window->setObjectName(QLatin1String(sorvenka::kProgressWindowName));
    window->preselect(choice.grpCd, choice.exerCd, choice.ymd);
    return window;
}

// The entry has the type the main window calls it through.
static_assert(std::is_same_v<decltype(&SorvenkaOpenProgress), sorvenka::OpenProgressFunction>);
