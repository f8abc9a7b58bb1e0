// 推移 opens the progress window from its module, as the program does: Qt Charts is mapped
// only from the first click on, and the main window reaches the window it did not link.
#include "main_window/progress_module.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include "main_window/window_fixture.h"

namespace sorvenka::testing {
namespace {

bool ChartsMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Charts");
}

QStringList ChoiceItems(QWidget* window) {
    QStringList items;
    for (const QComboBox* box : window->findChildren<QComboBox*>())
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

class ProgressModule : public WindowTest {
  protected:
    QWidget* progressWindow() {
        const QList<QWidget*> found = window->findChildren<QWidget*>(
            QLatin1String(kProgressWindowName), Qt::FindDirectChildrenOnly);
        return found.size() == 1 ? found.front() : nullptr;
    }
};

TEST_F(ProgressModule, LoadedAtTheFirstClickAndReachedThroughTheMainWindow) {
    startWindow();
    EXPECT_FALSE(ChartsMapped()) << "Qt Charts mapped before 推移 was clicked";

    window->cmdProgress->click();
    QWidget* progress = progressWindow();
    ASSERT_NE(progress, nullptr) << (env.platform.shown.empty()
                                         ? ""
                                         : env.platform.shown.front().text.toStdString());
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->windowTitle(), QStringLiteral("推移"));
    EXPECT_TRUE(ChartsMapped());
    EXPECT_TRUE(ChoiceItems(progress).contains(QStringLiteral("01 胸")));

    // A second click brings the same window back.
    progress->hide();
    window->cmdProgress->click();
    EXPECT_EQ(progressWindow(), progress);
    EXPECT_TRUE(progress->isVisible());

    // A change of the masters reaches it by the method it is called through by name.
    env.layout.exec(QStringLiteral("insert into m_grp values ('08', 'ストレッチ', 1, 8);"));
    window->reloadAfterDataChange();
    EXPECT_TRUE(ChoiceItems(progress).contains(QStringLiteral("08 ストレッチ")))
        << ChoiceItems(progress).join('|').toStdString();
}

TEST_F(ProgressModule, AFolderWithoutTheModuleGivesTheLoadersReason) {
    QTemporaryDir empty;
    QString error;
    EXPECT_EQ(LoadProgressModule({empty.path()}, error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace sorvenka::testing
