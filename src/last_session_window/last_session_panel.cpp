#include "last_session_window/last_session_panel.h"

#include "common/platform.h"
#include "common/text_tests.h"
#include "last_session/last_session.h"
#include "last_session/personal_bests.h"

namespace sorvenka {

namespace {

template <typename T>
T* PlaceOnPanel(T* control, int x, int y, int w, int h) {
    control->setGeometry(x, y, w, h);
    return control;
}

QString SetLine(const SessionSet& set, bool best) {
    QString line = QStringLiteral("%1. ").arg(set.setNum) + SetValuesText(set);
    if (!set.start.isEmpty() || !set.finish.isEmpty())
        line += QStringLiteral("  ") + set.start.left(5) + QStringLiteral("–") + set.finish.left(5);
    if (best) line += QStringLiteral(" ★");
    return line;
}

// What the label shows is what a screen reader speaks; setting the name tells the reader it
// changed (the notice and the clock change while the user looks elsewhere).
void ShowSpoken(QLabel* label, const QString& text) {
    if (label->text() == text && label->accessibleName() == text) return;
    label->setText(text);
    label->setAccessibleName(text);
}

}  // namespace

LastSessionPanel::LastSessionPanel(std::function<sqlite3*()> connection, Platform& platform,
                                   const QString& restLengthFile, const QString& soundFile,
                                   QWidget* parent)
    : QGroupBox(QStringLiteral("前回"), parent),
      connection_(std::move(connection)),
      platform_(platform),
      restLengthFile_(restLengthFile),
      soundFile_(soundFile) {
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    lblDay = PlaceOnPanel(new QLabel(this), 6, 16, 196, 15);
    lstSets = PlaceOnPanel(new QListWidget(this), 6, 32, 196, 74);
    lstSets->setAccessibleName(QStringLiteral("前回のセット"));
    lstSets->setToolTip(QStringLiteral("★ 推定1RMが最も高いセット"));
    lstRecords = PlaceOnPanel(new QListWidget(this), 6, 108, 196, 52);
    lstRecords->setAccessibleName(QStringLiteral("自己記録"));
    for (QListWidget* list : {lstSets, lstRecords}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);  // as every list box
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setFocusPolicy(Qt::TabFocus);
    }
    lblNotice = PlaceOnPanel(new QLabel(this), 6, 162, 196, 30);
    lblNotice->setWordWrap(true);
    lblNotice->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    lblNotice->setAccessibleDescription(QStringLiteral("自己記録の更新"));
    cmdFill = PlaceOnPanel(new QPushButton(QStringLiteral("前回の値"), this), 6, 196, 64, 26);
    cmdFill->setAutoDefault(false);
    cmdFill->setAccessibleName(QStringLiteral("前回の値"));
    cmdFill->setToolTip(
        QStringLiteral("前回の同じ番号のセットの値を入力欄に入れます（登録はしません）"));
    lblRest = PlaceOnPanel(new QLabel(this), 72, 196, 54, 26);
    lblRest->setAlignment(Qt::AlignCenter);
    lblRest->setAccessibleDescription(QStringLiteral("休憩時間"));
    lblRestLength = PlaceOnPanel(new QLabel(QStringLiteral("目安"), this), 128, 196, 24, 26);
    cboRest = PlaceOnPanel(new QComboBox(this), 152, 197, 50, 24);
    cboRest->setAccessibleName(QStringLiteral("休憩の目安"));
    lblRestLength->setBuddy(cboRest);  // what a screen reader speaks for the list
    cboRest->setToolTip(QStringLiteral("この長さの休憩で時計が赤くなり、音が鳴ります"));
    int count = 0;
    const int* choices = RestLengthChoices(count);
    for (int i = 0; i < count; ++i)
        cboRest->addItem(choices[i] == 0 ? QStringLiteral("なし") : RestText(choices[i]),
                         choices[i]);
    const int kept = LoadRestLength(restLengthFile_);
    cboRest->setCurrentIndex(std::max(0, cboRest->findData(kept)));
    clock_.setRestLength(kept);
    connect(cboRest, &QComboBox::currentIndexChanged, this,
            [this](int index) { restLengthChosen(index); });
    // One reading a second while the clock shows; stopped otherwise.
    restTimer = new QTimer(this);
    restTimer->setInterval(1000);
    restTimer->setTimerType(Qt::CoarseTimer);
    connect(restTimer, &QTimer::timeout, this, [this] { tick(); });
    lblRest->setVisible(false);
    lblRestLength->setVisible(false);
    cboRest->setVisible(false);
}

void LastSessionPanel::showFor(const QString& ymd, const QString& grpCd, const QString& exerCd) {
    if (ymd != ymd_ || grpCd != grpCd_ || exerCd != exerCd_) ShowSpoken(lblNotice, QString());
    ymd_ = ymd;
    grpCd_ = grpCd;
    exerCd_ = exerCd;
    lstSets->clear();
    lstRecords->clear();
    const bool chosen = IsValidYmd(ymd) && grpCd.size() == 2 && exerCd.size() == 2;
    cmdFill->setEnabled(false);
    if (!chosen) {
        lblDay->setText(QStringLiteral("種目を選ぶと前回の記録を表示します"));
    } else {
        const LastSession session = ReadLastSession(connection_(), grpCd, exerCd, ymd);
        if (!session.ok) {
            lblDay->setText(QStringLiteral("前回の記録を読めませんでした"));
        } else if (session.ymd.isEmpty()) {
            lblDay->setText(QStringLiteral("この日より前の記録はありません"));
        } else {
            lblDay->setText(QStringLiteral("前回 ") + session.ymd + QStringLiteral(" (") +
                            WeekdayText(ParseYmd(session.ymd)) +
                            QStringLiteral(") %1セット").arg(session.sets.size()));
            for (int i = 0; i < static_cast<int>(session.sets.size()); ++i)
                lstSets->addItem(SetLine(session.sets[i], i == session.bestIndex));
            cmdFill->setEnabled(true);
        }
        const PersonalBests records = ReadPersonalBests(connection_(), grpCd, exerCd);
        // The figure in the list, with its day in the hover text: the panel is narrow.
        if (records.ok)
            for (const QString& line : RecordLines(records.bests)) {
                lstRecords->addItem(line.left(line.lastIndexOf(QStringLiteral("  "))));
                lstRecords->item(lstRecords->count() - 1)->setToolTip(line);
            }
        for (int i = 0; i < lstSets->count(); ++i)
            lstSets->item(i)->setToolTip(lstSets->item(i)->text());
    }

    // The clock runs only on today's page.
    const bool today = ymd == FormatYmd(platform_.now().date());
    clock_.setLastFinish(today ? ReadLastFinish(connection_(), ymd) : std::nullopt);
    cboRest->setVisible(today);
    lblRestLength->setVisible(today);
    tick();
}

void LastSessionPanel::noteStored(const RecordKey& key) {
    const QStringList beaten = RecordsBeatenBy(connection_(), key);
    ShowSpoken(lblNotice, beaten.isEmpty() ? QString()
                                           : QStringLiteral("自己記録更新: ") +
                                                 beaten.join(QStringLiteral("、")));
}

void LastSessionPanel::tick() {
    const QTime now = platform_.now().time();
    const RestClock::Reading reading = clock_.read(now.msecsSinceStartOfDay() / 1000);
    lblRest->setVisible(reading.shown);
    if (!reading.shown) {
        restTimer->stop();
        return;
    }
    if (!restTimer->isActive()) restTimer->start();
    ShowSpoken(lblRest, QStringLiteral("休憩 ") + RestText(reading.elapsed));
    const QString style =
        reading.reached ? QStringLiteral("color: white; background: #c00000;") : QString();
    if (lblRest->styleSheet() != style) lblRest->setStyleSheet(style);  // restyles only on change
    if (reading.ring) platform_.playWave(soundFile_);
}

void LastSessionPanel::restLengthChosen(int index) {
    const int seconds = cboRest->itemData(index).toInt();
    clock_.setRestLength(seconds);
    SaveRestLength(restLengthFile_, seconds);
    tick();
}

}  // namespace sorvenka
