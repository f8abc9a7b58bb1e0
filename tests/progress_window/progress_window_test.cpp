// The progress window driven through its real widgets on a real database: opened by 推移,
// preselected from the main window, periods, day clicks shown here and the explicit move of
// the main window's date, PNG saving.
#include "progress_window/progress_window.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>
#include <QtCharts/QAbstractSeries>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>

#include "../progress/progress_fixture.h"
#include "common/text_tests.h"
#include "db/record_writes.h"
#include "main_window/progress_module.h"
#include "main_window/window_fixture.h"
#include "progress/progress_period.h"
#include "support/accessible_names.h"

namespace sorvenka::testing {
namespace {

void ClickRow(QTableWidget* table, int row) {
    table->scrollToItem(table->item(row, 0));
    const QPoint point = table->visualItemRect(table->item(row, 0)).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, point, table->viewport()->mapToGlobal(point), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(table->viewport(), &event);
    }
}

void DoubleClickRow(QTableWidget* table, int row) {
    ClickRow(table, row);
    const QPoint point = table->visualItemRect(table->item(row, 0)).center();
    QMouseEvent event(QEvent::MouseButtonDblClick, point, table->viewport()->mapToGlobal(point),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &event);
}

QString Cell(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

class ProgressWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        UseLinkedProgressWindow(&SorvenkaOpenProgress);
        StoreSets(env.layout, {
                                  {.ymd = "2020/03/02", .grp = "03", .target = "60", .cnt = "5"},
                                  {.ymd = "2024/01/10", .grp = "03", .target = "80", .cnt = "5"},
                                  {.ymd = "2024/05/10", .grp = "03", .target = "90", .cnt = "5"},
                                  {.ymd = "2024/05/10",
                                   .grp = "03",
                                   .set = 2,
                                   .sta = "09:03:00",
                                   .end = "09:04:00",
                                   .target = "70",
                                   .cnt = "8"},
                                  {.ymd = "2024/05/14", .grp = "01", .target = "50"},
                              });
        startWindow();
        MainWindow::SelectItemByCode(window->lstGrp, QStringLiteral("03"));
        MainWindow::SelectItemByCode(window->lstExer, QStringLiteral("01"));
    }
    ProgressWindow* open() {
        window->cmdProgress->click();
        ProgressWindow* progress = window->findChild<ProgressWindow*>();
        if (progress) QApplication::processEvents();
        return progress;
    }
};

TEST_F(ProgressWindowTest, OpensOnceFromTheButtonWithTheMainWindowsChoice) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_TRUE(progress->isWindow());
    EXPECT_FALSE(progress->isModal());
    EXPECT_EQ(progress->cboGrp->currentText(), QStringLiteral("03 脚"));
    EXPECT_EQ(progress->cboExer->currentText(), QStringLiteral("01 スクワット"));
    EXPECT_EQ(progress->period().last, QStringLiteral("2024/05/14"));
    // Its three training days reach back to 2020: all of them show.
    EXPECT_EQ(progress->cboPeriod->currentText(), QStringLiteral("すべて"));
    progress->cboPeriod->setCurrentText(QStringLiteral("1年"));
    // The training days, newest first, with the days that beat the record marked: 2024/01/10
    // beat 2020's 60 kg, a day before the period shown.
    ASSERT_EQ(progress->tblDays->rowCount(), 2);
    EXPECT_TRUE(Cell(progress->tblDays, 0, 0).startsWith(QStringLiteral("2024/05/10")));
    const int mark = progress->tblDays->columnCount() - 1;
    EXPECT_EQ(Cell(progress->tblDays, 0, mark), QStringLiteral("記録更新"));
    EXPECT_EQ(Cell(progress->tblDays, 1, mark), QStringLiteral("記録更新"));
    EXPECT_FALSE(progress->chartView->chart()->series().isEmpty());

    // A second click brings the same window back: still one.
    progress->hide();
    window->cmdProgress->click();
    EXPECT_EQ(window->findChildren<ProgressWindow*>().size(), 1);
    EXPECT_TRUE(progress->isVisible());
}

TEST_F(ProgressWindowTest, PeriodsEndAtTheMainWindowsDate) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    progress->cboPeriod->setCurrentText(QStringLiteral("3か月"));
    EXPECT_EQ(progress->tblDays->rowCount(), 1);
    EXPECT_EQ(progress->lblPeriod->text(), QStringLiteral("2024/02/15 〜 2024/05/14"));
    progress->cboPeriod->setCurrentText(QStringLiteral("すべて"));
    EXPECT_EQ(progress->tblDays->rowCount(), 3);

    // The main window's date moves the end when the window is activated again.
    window->txtYmd->setText(QStringLiteral("2024/05/09"));
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(progress, &activate);
    EXPECT_EQ(progress->period().last, QStringLiteral("2024/05/09"));
    EXPECT_EQ(progress->tblDays->rowCount(), 2);
}

// The main window's date is the day new sets are stored under: a click here never moves it.
TEST_F(ProgressWindowTest, ClickingARecordOrADayShowsItHereAndLeavesTheMainDate) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    ASSERT_GT(progress->tblRecords->rowCount(), 0);
    EXPECT_EQ(Cell(progress->tblRecords, 0, 0), QStringLiteral("最大重量"));
    EXPECT_EQ(Cell(progress->tblRecords, 0, 1), QStringLiteral("90 kg × 5回"));
    EXPECT_FALSE(progress->cmdShowInMain->isEnabled());
    ClickRow(progress->tblRecords, 0);
    EXPECT_EQ(window->txtYmd->text(), QStringLiteral("2024/05/14"));
    EXPECT_EQ(progress->shownDay(), QStringLiteral("2024/05/10"));
    // The chart chosen stays; the session chart, once chosen, shows the day clicked.
    EXPECT_EQ(progress->chartKind(), ChartKind::Load);
    progress->cboChart->setCurrentIndex(static_cast<int>(ChartKind::Timeline));
    EXPECT_TRUE(progress->chartView->chart()->title().startsWith(QStringLiteral("2024/05/10")));
    ASSERT_EQ(progress->lstDaySets->count(), 2);
    EXPECT_EQ(progress->lstDaySets->item(0)->text(),
              QStringLiteral("1. 90 kg × 5回  09:00:00–09:01:00"));
    EXPECT_TRUE(progress->lblDaySets->text().startsWith(QStringLiteral("2024/05/10 (金) の")));

    ClickRow(progress->tblDays, 1);
    EXPECT_EQ(window->txtYmd->text(), QStringLiteral("2024/05/14"));
    EXPECT_EQ(progress->timelineDay(), QStringLiteral("2024/01/10"));
    EXPECT_TRUE(progress->chartView->chart()->title().startsWith(QStringLiteral("2024/01/10")));
    EXPECT_EQ(progress->lstDaySets->count(), 1);

    // The explicit action moves the main window to the day shown, which lists its week.
    progress->cmdShowInMain->click();
    EXPECT_EQ(window->txtYmd->text(), QStringLiteral("2024/01/10"));
    EXPECT_TRUE(
        DayLines(window->lstRecord).join(QLatin1Char('\n')).contains(QStringLiteral("2024/01/10")));
    // The period stays where the user is when the date came from here.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(progress, &activate);
    EXPECT_EQ(progress->period().last, QStringLiteral("2024/05/14"));

    // So does a double-click.
    DoubleClickRow(progress->tblDays, 0);
    EXPECT_EQ(window->txtYmd->text(), QStringLiteral("2024/05/10"));
}

// Pull-ups have no load: the window opens on their repetitions, and the days list shows them.
TEST_F(ProgressWindowTest, ABodyweightExerciseShowsItsRepetitions) {
    StoreSets(
        env.layout,
        {{.ymd = "2024/05/11", .grp = "02", .exer = "01", .target = "0", .cnt = "9"},
         {.ymd = "2024/05/11", .grp = "02", .exer = "01", .set = 2, .target = "0", .cnt = "7"}});
    MainWindow::SelectItemByCode(window->lstGrp, QStringLiteral("02"));
    MainWindow::SelectItemByCode(window->lstExer, QStringLiteral("01"));
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->chartKind(), ChartKind::Reps);
    EXPECT_FALSE(progress->chartView->chart()->series().isEmpty());
    ASSERT_EQ(progress->tblDays->rowCount(), 1);
    QStringList headers, cells;
    for (int c = 0; c < progress->tblDays->columnCount(); ++c)
        if (!progress->tblDays->isColumnHidden(c)) {
            headers << progress->tblDays->horizontalHeaderItem(c)->text();
            cells << Cell(progress->tblDays, 0, c);
        }
    EXPECT_EQ(headers, QStringList({"日付", "セット", "合計回数", "最多回数", "作業時間"}));
    EXPECT_EQ(cells[2], QStringLiteral("16回"));
    EXPECT_EQ(cells[3], QStringLiteral("9回"));
    ASSERT_EQ(progress->tblRecords->rowCount(), 1);
    EXPECT_EQ(Cell(progress->tblRecords, 0, 0), QStringLiteral("最多回数（自重）"));
    // The load chart says why it is empty.
    progress->cboChart->setCurrentIndex(static_cast<int>(ChartKind::Load));
    EXPECT_TRUE(progress->chartView->chart()->series().isEmpty());
}

TEST_F(ProgressWindowTest, EveryChoiceListAndButtonHasANameForScreenReaders) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(AccessibleName(progress->cboExer), QStringLiteral("種目"));
    EXPECT_EQ(AccessibleName(progress->tblDays), QStringLiteral("トレーニング日"));
    const std::vector<QWidget*> controls = SpokenControls(progress);
    EXPECT_GE(controls.size(), 9u);
    for (QWidget* control : controls)
        EXPECT_FALSE(AccessibleName(control).isEmpty()) << control->metaObject()->className();
}

// Where the pointer stands over a chart, as a viewport position of the chart view.
QPoint ViewportPoint(QChartView* view, const QPointF& value) {
    QChart* chart = view->chart();
    const QPointF inChart = chart->mapToPosition(value, chart->series().first());
    return view->mapFromScene(chart->mapToScene(inChart));
}

// Above a day anywhere on the plot, not only on a line: the day's figures; under a real X
// server the tool tip shows them (offscreen only the text is checked).
TEST_F(ProgressWindowTest, HoverTextsOnLinesBarsAndAreas) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    progress->resize(1260, 660);
    QApplication::processEvents();
    const qreal may10 = QDateTime(QDate(2024, 5, 10), QTime(12, 0)).toMSecsSinceEpoch();
    struct Case {
        ChartKind kind;
        QPointF value;  // in the first series' axes
        QString starts;
    };
    const std::vector<Case> cases{
        {ChartKind::Load, {may10, 80}, "2024/05/10 (金)"},           // between the lines
        {ChartKind::Load, {may10 + 3600e3, 95}, "2024/05/10 (金)"},  // above them
        {ChartKind::Timeline,
         {qreal(QDateTime(QDate(2024, 5, 10), QTime(9, 0, 30)).toMSecsSinceEpoch()), 0},
         "スクワット"},
        {ChartKind::Weekly, {may10, 1}, "2024/05/"},
    };
    for (const Case& c : cases) {
        progress->cboChart->setCurrentIndex(static_cast<int>(c.kind));
        if (c.kind == ChartKind::Timeline) ClickRow(progress->tblDays, 0);
        QApplication::processEvents();
        const QPoint at = ViewportPoint(progress->chartView, c.value);
        const QString text = HoverTextAt(progress->chartView, at);
        EXPECT_TRUE(text.startsWith(c.starts))
            << static_cast<int>(c.kind) << " " << text.toStdString();
        QMouseEvent move(QEvent::MouseMove, at, progress->chartView->viewport()->mapToGlobal(at),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(progress->chartView->viewport(), &move);
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), text);
        // The pointer rests: the chart's scene would answer with an empty tip and hide it.
        QHelpEvent rest(QEvent::ToolTip, at, progress->chartView->viewport()->mapToGlobal(at));
        QApplication::sendEvent(progress->chartView->viewport(), &rest);
        if (c.kind == ChartKind::Load) QTest::qWait(400);  // past Qt's 300 ms to hide a tip
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), text);
    }
    // Outside the plot area nothing shows.
    EXPECT_TRUE(HoverTextAt(progress->chartView, QPoint(1, 1)).isEmpty());
}

// Ticks sit at the start of the day they name, on round minutes on a session, and pace and
// rest read as m:ss.
TEST_F(ProgressWindowTest, TicksAtDayStartsAndRoundMinutesAndTimesAsMinutesAndSeconds) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    for (const char* period : {"3か月", "1年", "すべて"}) {
        progress->cboPeriod->setCurrentText(QString::fromUtf8(period));
        progress->cboChart->setCurrentIndex(static_cast<int>(ChartKind::Load));
        const auto axes = progress->chartView->chart()->axes(Qt::Horizontal);
        ASSERT_EQ(axes.size(), 1) << period;
        auto* dates = qobject_cast<QCategoryAxis*>(axes.first());
        ASSERT_NE(dates, nullptr);
        ASSERT_GE(dates->count(), 2) << period;
        for (const QString& label : dates->categoriesLabels()) {
            // Months read 2024/05, days 05/10 under a title that names the year.
            const QString whole = label.size() == 7
                                      ? label + QStringLiteral("/01")
                                      : dates->titleText().mid(3, 4) + QLatin1Char('/') + label;
            const QDate day = QDate::fromString(whole, QStringLiteral("yyyy/MM/dd"));
            ASSERT_TRUE(day.isValid()) << label.toStdString();
            EXPECT_EQ(dates->endValue(label), QDateTime(day, QTime(0, 0)).toMSecsSinceEpoch())
                << period << " " << label.toStdString();
        }
    }
    ClickRow(progress->tblDays, 0);  // the session of 2024/05/10, 09:00 to 09:04
    progress->cboChart->setCurrentIndex(static_cast<int>(ChartKind::Timeline));
    auto* times =
        qobject_cast<QCategoryAxis*>(progress->chartView->chart()->axes(Qt::Horizontal).first());
    ASSERT_NE(times, nullptr);
    for (const QString& label : times->categoriesLabels())
        EXPECT_EQ(label.right(1).toInt() % 5, 0) << label.toStdString();
    progress->cboChart->setCurrentIndex(static_cast<int>(ChartKind::Rest));
    auto* rest =
        qobject_cast<QCategoryAxis*>(progress->chartView->chart()->axes(Qt::Vertical).first());
    ASSERT_NE(rest, nullptr);
    for (const QString& label : rest->categoriesLabels())
        EXPECT_TRUE(label.contains(QLatin1Char(':'))) << label.toStdString();
}

// The heavy and light days of a week zigzag; the best of each week shows the direction.
TEST_F(ProgressWindowTest, LoadChartCarriesTheWeeksBestAsATrend) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    progress->cboPeriod->setCurrentText(QStringLiteral("すべて"));
    progress->cboChart->setCurrentIndex(static_cast<int>(ChartKind::Load));
    QStringList names;
    for (QAbstractSeries* series : progress->chartView->chart()->series()) names << series->name();
    EXPECT_TRUE(names.contains(QStringLiteral("推定1RM（週の最高）")))
        << names.join(",").toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("最大重量（週の最高）")));
}

TEST_F(ProgressWindowTest, ASetStoredMeanwhileShowsOnActivation) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    progress->cboPeriod->setCurrentText(QStringLiteral("1年"));
    ASSERT_EQ(progress->tblDays->rowCount(), 2);
    StoreSets(env.layout, {{.ymd = "2024/05/12", .grp = "03", .target = "'x'"}});
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(progress, &activate);
    EXPECT_EQ(progress->tblDays->rowCount(), 3);
    EXPECT_TRUE(progress->lblNote->text().contains(QStringLiteral("1")));
}

// The earlier days' bests are kept between periods: a set entered before the period must
// still change the marks when the window comes back.
TEST_F(ProgressWindowTest, AHeavierEarlierSetEnteredMeanwhileClearsTheMarksOnActivation) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    progress->cboPeriod->setCurrentText(QStringLiteral("1年"));
    progress->cboPeriod->setCurrentText(QStringLiteral("3か月"));
    progress->cboPeriod->setCurrentText(QStringLiteral("1年"));
    const int mark = progress->tblDays->columnCount() - 1;
    ASSERT_EQ(progress->tblDays->rowCount(), 2);
    ASSERT_EQ(Cell(progress->tblDays, 1, mark), QStringLiteral("記録更新"));
    ExerRecord heavier{.ymd = "2020/03/03",
                       .grp_cd = "03",
                       .exer_cd = "01",
                       .set_num = "1",
                       .hms_sta = "09:00:00",
                       .hms_end = "09:01:00",
                       .target = "100",
                       .unit_t = "kg",
                       .cnt = "12",
                       .unit = "回",
                       .cnt_min = "",
                       .cnt_sec = "",
                       .sweat_cd = "2",
                       .comment = ""};
    QString message;
    ASSERT_TRUE(DBInsertExerCount(env.db, heavier, message)) << message.toStdString();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(progress, &activate);
    ASSERT_EQ(progress->tblDays->rowCount(), 2);
    EXPECT_EQ(Cell(progress->tblDays, 0, mark), QString());
    EXPECT_EQ(Cell(progress->tblDays, 1, mark), QString());
}

TEST_F(ProgressWindowTest, SavesTheShownChartAsPngInRec) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    progress->cboPeriod->setCurrentText(QStringLiteral("1年"));
    progress->cmdSavePng->click();
    ASSERT_EQ(env.platform.inputsAsked.size(), 1u);
    EXPECT_EQ(env.platform.inputsAsked[0].defaultText,
              QStringLiteral("Progress2024_0514_0301_load.png"));
    QFile file(env.layout.folder(QStringLiteral("rec")) +
               QStringLiteral("/Progress2024_0514_0301_load.png"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(8).startsWith("\x89PNG\r\n\x1a\n"));
    // Saving says where the file went; the picture is titled with exercise, chart and period.
    ASSERT_EQ(env.platform.shown.size(), 1u);
    EXPECT_EQ(env.platform.shown[0].text,
              QStringLiteral("グラフを保存しました。\r\n") + file.fileName());
    EXPECT_EQ(
        progress->pngTitle(),
        QStringLiteral("脚・スクワット　重量（最大・推定1RM）　2023/05/15 〜 2024/05/14（1年）"));
    const QImage image(file.fileName());
    EXPECT_GT(image.height(), progress->chartView->height());

    // A name that leaves the rec folder is refused and nothing is written.
    env.platform.inputs = {QStringLiteral("../escape.png")};
    progress->cmdSavePng->click();
    ASSERT_EQ(env.platform.shown.size(), 2u);
    EXPECT_TRUE(
        env.platform.shown[1].text.startsWith(QStringLiteral("ファイル名が正しくありません。")));
    EXPECT_FALSE(QFile::exists(env.layout.base() + QStringLiteral("/escape.png")));
}

TEST_F(ProgressWindowTest, AnEmptyPeriodDrawsAnEmptyChartWithAMessageForEveryKind) {
    MainWindow::SelectItemByCode(window->lstGrp, QStringLiteral("07"));
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    progress->cboPeriod->setCurrentText(QStringLiteral("3か月"));
    window->txtYmd->setText(QStringLiteral("2019/01/01"));
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(progress, &activate);
    for (int kind = 0; kind < progress->cboChart->count(); ++kind) {
        progress->cboChart->setCurrentIndex(kind);
        EXPECT_TRUE(progress->chartView->chart()->series().isEmpty()) << kind;
        EXPECT_TRUE(progress->chartView->chart()->title().contains(QStringLiteral("ありません")))
            << kind;
    }
    EXPECT_EQ(progress->tblDays->rowCount(), 0);
    EXPECT_EQ(progress->tblRecords->rowCount(), 0);
}

TEST_F(ProgressWindowTest, EveryChartOfAPeriodWithSetsHasSeries) {
    ProgressWindow* progress = open();
    ASSERT_NE(progress, nullptr);
    progress->cboPeriod->setCurrentText(QStringLiteral("すべて"));
    const std::vector<std::pair<ChartKind, bool>> kinds{
        {ChartKind::Load, true},      {ChartKind::Volume, true},    {ChartKind::Reps, false},
        {ChartKind::Duration, false}, {ChartKind::Distance, false}, {ChartKind::Rest, true},
        {ChartKind::Timeline, true},  {ChartKind::Weekly, true}};
    for (const auto& [kind, drawn] : kinds) {
        progress->cboChart->setCurrentIndex(static_cast<int>(kind));
        EXPECT_EQ(!progress->chartView->chart()->series().isEmpty(), drawn)
            << static_cast<int>(kind);
    }
}

// One training day a week, every Monday from 2024/02/19 to 2024/05/13, of 04 01, each heavier:
// the week's best is the day itself.
class WeeklyTrainingTest : public ProgressWindowTest {
  protected:
    void SetUp() override {
        ProgressWindowTest::SetUp();
        QDate day(2024, 2, 19);
        for (int week = 0; day <= QDate(2024, 5, 13); ++week, day = day.addDays(7))
            StoreSets(env.layout, {{.ymd = FormatYmd(day),
                                    .grp = "04",
                                    .target = QString::number(60 + 2.5 * week),
                                    .cnt = "5"}});
        MainWindow::SelectItemByCode(window->lstGrp, QStringLiteral("04"));
        MainWindow::SelectItemByCode(window->lstExer, QStringLiteral("01"));
    }
    // The window as the user sees it on a 1366×768 screen.
    ProgressWindow* openAtSize() {
        ProgressWindow* progress = open();
        if (progress == nullptr) return nullptr;
        progress->resize(1260, 660);
        QApplication::processEvents();
        return progress;
    }
};

bool NearColour(QRgb pixel, const QColor& colour) {
    return std::abs(qRed(pixel) - colour.red()) <= 12 &&
           std::abs(qGreen(pixel) - colour.green()) <= 12 &&
           std::abs(qBlue(pixel) - colour.blue()) <= 12;
}

// Where a week holds one day its best lies on the day; the day still shows as a point of its
// series' colour, in the saved picture.
TEST_F(WeeklyTrainingTest, EveryDayIsAPointOfItsColourAboveTheWeeklyTrend) {
    ProgressWindow* progress = openAtSize();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->cboPeriod->currentText(), QStringLiteral("3か月"));
    ASSERT_EQ(progress->chartKind(), ChartKind::Load);
    progress->cmdSavePng->click();
    const QImage image(env.layout.folder(QStringLiteral("rec")) + QLatin1Char('/') +
                       env.platform.inputsAsked.at(0).defaultText);
    ASSERT_FALSE(image.isNull());
    QChartView* view = progress->chartView;
    QChart* chart = view->chart();
    // The picture is the view under a title band.
    const QPoint offset(0, image.height() - view->height());
    int lines = 0;
    for (QAbstractSeries* abstract : chart->series()) {
        auto* line = qobject_cast<QLineSeries*>(abstract);
        if (line == nullptr || qobject_cast<QScatterSeries*>(abstract)) continue;
        ++lines;
        if (line->name().contains(QStringLiteral("週の最高"))) {
            // The trend shows between the days.
            int trend = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    trend += NearColour(image.pixel(x, y), line->color());
            EXPECT_GT(trend, 100) << line->name().toStdString();
            continue;
        }
        ASSERT_EQ(line->count(), 13) << line->name().toStdString();
        for (const QPointF& value : line->points()) {
            const QPoint at =
                view->mapFromScene(chart->mapToScene(chart->mapToPosition(value, line))) +
                view->viewport()->pos() + offset;
            int found = 0;  // around the point: a marker of a few pixels
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    found += NearColour(image.pixel(at + QPoint(dx, dy)), line->color());
            EXPECT_GE(found, 12) << line->name().toStdString() << " at "
                                 << QDateTime::fromMSecsSinceEpoch(qint64(value.x()))
                                        .toString(Qt::ISODate)
                                        .toStdString();
        }
    }
    EXPECT_EQ(lines, 4);  // 最大重量, 推定1RM and their weekly bests
}

// At the window's size on a 1366×768 screen every tick of the date axis keeps its whole text
// (the chart elides a label wider than its share of the axis).
TEST_F(WeeklyTrainingTest, DateTicksReadWholeAtTheWindowsSize) {
    StoreSets(env.layout, {{.ymd = "2019/12/30", .grp = "04", .target = "50", .cnt = "5"}});
    ProgressWindow* progress = openAtSize();
    ASSERT_NE(progress, nullptr);
    for (const QString& period : ProgressPeriodNames())
        for (const ChartKind kind : {ChartKind::Load, ChartKind::Weekly}) {
            progress->cboPeriod->setCurrentText(period);
            progress->cboChart->setCurrentIndex(static_cast<int>(kind));
            QApplication::processEvents();
            const std::string what = period.toStdString() + " " + ChartKindWord(kind).toStdString();
            auto* dates = qobject_cast<QCategoryAxis*>(
                progress->chartView->chart()->axes(Qt::Horizontal).value(0));
            ASSERT_NE(dates, nullptr) << what;
            EXPECT_GE(dates->count(), 2) << what;
            QStringList shown;
            for (QGraphicsItem* item : progress->chartView->scene()->items())
                if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
                    shown << text->toPlainText();
            for (const QString& label : dates->categoriesLabels())
                EXPECT_TRUE(shown.contains(label)) << what << " " << label.toStdString();
            for (const QString& text : shown)
                EXPECT_FALSE(text.endsWith(QStringLiteral("...")))
                    << what << " " << text.toStdString();
        }
}

// The days' 記録 column shows its words at the first opening; the window opens on a period
// that holds the exercise's recent training.
TEST_F(WeeklyTrainingTest, OpensOnRecentTrainingWithWholeColumns) {
    // A day that fills every column: a record, sets without a load, a run, rests between.
    StoreSets(env.layout, {{.ymd = "2024/05/13",
                            .grp = "04",
                            .set = 2,
                            .sta = "09:03:00",
                            .end = "09:04:00",
                            .target = "200",
                            .cnt = "1"},
                           {.ymd = "2024/05/13",
                            .grp = "04",
                            .set = 3,
                            .sta = "09:06:00",
                            .end = "09:07:00",
                            .target = "0",
                            .cnt = "12"},
                           {.ymd = "2024/05/13",
                            .grp = "04",
                            .set = 4,
                            .sta = "09:10:00",
                            .end = "09:35:00",
                            .target = "5",
                            .unitT = "km",
                            .cnt = "null",
                            .unit = "",
                            .min = "25",
                            .sec = "0"}});
    ProgressWindow* progress = openAtSize();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->cboPeriod->currentText(), QStringLiteral("3か月"));
    QTableWidget* days = progress->tblDays;
    const int mark = days->columnCount() - 1;
    ASSERT_EQ(Cell(days, 0, mark), QStringLiteral("記録更新"));
    const auto expectWholeColumns = [days](const char* where) {
        const QFontMetrics metrics(days->font());
        for (int column = 0; column < days->columnCount(); ++column) {
            if (days->isColumnHidden(column)) continue;
            EXPECT_GE(days->columnWidth(column),
                      metrics.horizontalAdvance(Cell(days, 0, column)) + 6)
                << where << " " << days->horizontalHeaderItem(column)->text().toStdString();
        }
    };
    expectWholeColumns("at the first opening");
    // Also where the table is a little narrower than its columns: a stretched last column would
    // get only what is left.
    int total = 0;
    for (int column = 0; column < days->columnCount(); ++column)
        if (!days->isColumnHidden(column))
            total += std::max(static_cast<QAbstractItemView*>(days)->sizeHintForColumn(column),
                              days->horizontalHeader()->sectionSizeHint(column));
    for (int attempt = 0; attempt < 6; ++attempt) {
        const int over = total - days->viewport()->width() - 20;
        if (std::abs(over) <= 4) break;
        progress->resize(progress->width() + over * 9 / 4, progress->height());
        QApplication::processEvents();
    }
    EXPECT_LT(days->viewport()->width(), total);
    expectWholeColumns("in a narrower table");

    // An exercise last trained two years before the date opens on 3年.
    progress->close();
    delete progress;
    window->txtYmd->setText(QStringLiteral("2026/05/14"));
    ProgressWindow* later = openAtSize();
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->cboPeriod->currentText(), QStringLiteral("3年"));
    EXPECT_EQ(later->tblDays->rowCount(), 13);
}

}  // namespace
}  // namespace sorvenka::testing
