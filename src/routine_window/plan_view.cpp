// Today's plan: the due day of the routine on the main window's date, each item's done and
// planned sets, target, rest, reason and plates, the warm-up rows before an item, a line's
// values into the main window, and 「メニューに反映」.
#include "common/platform.h"
#include "common/text_tests.h"
#include "db/database.h"
#include "last_session/rest_clock.h"
#include "routine_window/routine_window.h"
#include "routines/day_plan.h"
#include "routines/plates_input.h"
#include "routines/progression.h"

namespace sorvenka {

namespace {

QString TargetText(const ItemPlan& item) {
    const QString load =
        item.target.load > 0 ? LoadText(item.target.load) + item.target.loadUnit : QString();
    switch (item.item.kind) {
        case ItemKind::Reps: {
            const QString reps =
                QString::number(item.target.reps) +
                (item.item.repMin != item.item.repMax
                     ? QStringLiteral("（%1–%2）").arg(item.item.repMin).arg(item.item.repMax)
                     : QString());
            return load.isEmpty() ? reps + item.item.countUnit : load + QStringLiteral("×") + reps;
        }
        case ItemKind::Duration:
        case ItemKind::Distance: {
            const int seconds =
                item.target.durationSec > 0 ? item.target.durationSec : item.item.durationSec;
            const QString time = seconds > 0 ? RestText(seconds) : QString();
            if (load.isEmpty()) return time;
            return time.isEmpty() ? load : load + QStringLiteral(" ") + time;
        }
    }
    return load;
}

QString RestColumn(int seconds) {
    return seconds > 0 ? RestText(seconds) : QStringLiteral("—");
}

}  // namespace

void RoutineWindow::showPlanDays() {
    const QVariant kept = cboPlanDay->currentData();
    cboPlanDay->clear();
    cboPlanDay->addItem(QStringLiteral("次の日（自動）"), qint64(0));
    for (const RoutineDay& day : book_.daysOf(currentRoutineId()))
        cboPlanDay->addItem(day.name, day.id);
    cboPlanDay->setCurrentIndex(std::max(0, cboPlanDay->findData(kept)));
}

void RoutineWindow::refreshPlan() {
    tvPlan->clear();
    *plan_ = DayPlan{};
    const QString ymd = mainDate_();
    const qint64 routineId = currentRoutineId();
    cmdReflect->setEnabled(false);
    if (!db_.isOpen() || routineId == 0) {
        lblPlanDay->setText(QStringLiteral("メニューを追加すると、ここに今日の内容が出ます"));
        return;
    }
    if (!IsValidYmd(ymd)) {
        lblPlanDay->setText(QStringLiteral("メイン画面の日付が正しくありません"));
        return;
    }
    // Read again: a restore or another window may have changed the routines meanwhile.
    RoutineBook fresh;
    if (ReadRoutineBook(db_.connection(), fresh)) book_ = std::move(fresh);
    const qint64 chosen = cboPlanDay->currentData().toLongLong();
    *plan_ = ComputeDayPlan(db_.connection(), book_, routineId, ymd,
                            chosen != 0 ? std::optional<qint64>(chosen) : std::nullopt);
    if (!plan_->ok) {
        lblPlanDay->setText(QStringLiteral("メニューを計算できませんでした: ") + plan_->error);
        return;
    }
    if (plan_->day.id == 0) {
        lblPlanDay->setText(ymd + QStringLiteral(": この日に行う日はありません"));
        return;
    }
    QString heading = ymd + QStringLiteral(" 「") + plan_->day.name + QStringLiteral("」");
    if (chosen == 0 && !plan_->next.lastYmd.isEmpty() && !plan_->next.inProgress) {
        const RoutineDay* last = book_.day(plan_->next.lastDayId);
        if (last)
            heading += QStringLiteral("（前回 ") + plan_->next.lastYmd + QStringLiteral(" 「") +
                       last->name + QStringLiteral("」の次）");
    } else if (plan_->next.inProgress && chosen == 0) {
        heading += QStringLiteral("（実施中）");
    }
    lblPlanDay->setText(heading);

    std::vector<bool> warmupsShown(plan_->items.size(), false);
    for (int lineIndex = 0; lineIndex < static_cast<int>(plan_->lines.size()); ++lineIndex) {
        const PlanLine& line = plan_->lines[lineIndex];
        const ItemPlan& item = plan_->items[line.item];
        // The ramp comes once, before the item's first working set.
        if (!warmupsShown[line.item] && item.item.kind == ItemKind::Reps) {
            warmupsShown[line.item] = true;
            for (int w = 0; w < static_cast<int>(item.warmups.size()); ++w) {
                const WarmupRow& row = item.warmups[w];
                auto* entry = new QTreeWidgetItem(tvPlan);
                entry->setText(0, QStringLiteral("  ウォームアップ %1").arg(w + 1));
                entry->setText(2, LoadText(row.load) + item.target.loadUnit + QStringLiteral("×") +
                                      QString::number(row.reps));
                entry->setText(5, row.platesText);
                entry->setData(0, kLineKindRole, int(WarmupLine));
                entry->setData(0, kItemRole, line.item);
                entry->setData(0, kWarmupRole, w);
                entry->setForeground(0, palette().placeholderText());
            }
        }
        auto* entry = new QTreeWidgetItem(tvPlan);
        const QString name = line.label.isEmpty()
                                 ? item.exerciseName
                                 : line.label + QStringLiteral(" ") + item.exerciseName;
        entry->setText(0, name);
        entry->setText(1, QStringLiteral("%1/%2").arg(item.done).arg(item.planned));
        entry->setText(2, TargetText(item));
        entry->setText(3, RestColumn(line.restSec));
        entry->setText(4, item.target.reason);
        entry->setText(5, item.platesApply ? item.platesText : QString());
        for (int c = 0; c < tvPlan->columnCount(); ++c) entry->setToolTip(c, entry->text(c));
        entry->setData(0, kLineKindRole, int(ItemLine));
        entry->setData(0, kItemRole, line.item);
        entry->setData(0, kPlanLineRole, lineIndex);
        const bool finished = line.round > 0 ? line.done : item.done >= item.planned;
        if (finished) {
            QFont font = entry->font(0);
            font.setStrikeOut(true);
            for (int c = 0; c < 3; ++c) entry->setFont(c, font);
        }
    }
    cmdReflect->setEnabled(!plan_->items.empty());
}

void RoutineWindow::fillFromLine(int row) {
    QTreeWidgetItem* line = tvPlan->topLevelItem(row);
    if (!line) return;
    const int index = line->data(0, kItemRole).toInt();
    if (index < 0 || index >= static_cast<int>(plan_->items.size())) return;
    const ItemPlan& item = plan_->items[index];
    PlanFill fill;
    fill.grpCd = item.item.grpCd;
    fill.exerCd = item.item.exerCd;
    fill.loadUnit = item.target.loadUnit.isEmpty() ? item.item.loadUnit : item.target.loadUnit;
    fill.restSec = item.item.restSec;
    if (line->data(0, kLineKindRole).toInt() == WarmupLine) {
        const WarmupRow& warmup = item.warmups[line->data(0, kWarmupRole).toInt()];
        fill.load = LoadText(warmup.load);
        fill.count = QString::number(warmup.reps);
        fill.countUnit = item.item.countUnit;
    } else {
        fill.load = item.target.load > 0 ? LoadText(item.target.load) : QString();
        if (item.item.kind == ItemKind::Reps) {
            fill.count = QString::number(item.target.reps);
            fill.countUnit = item.item.countUnit;
        } else {
            const int seconds =
                item.target.durationSec > 0 ? item.target.durationSec : item.item.durationSec;
            if (seconds > 0) {
                fill.minutes = QString::number(seconds / 60);
                fill.seconds = QString::number(seconds % 60);
            }
        }
        // Inside a superset round the next exercise follows at once; the rest comes after it.
        const int lineIndex = line->data(0, kPlanLineRole).toInt();
        if (lineIndex >= 0 && lineIndex < static_cast<int>(plan_->lines.size()) &&
            plan_->lines[lineIndex].round > 0)
            fill.restSec = plan_->lines[lineIndex].restSec;
    }
    fillMain_(fill);
}

// --- plates and warm-ups ---

void RoutineWindow::showPlates() {
    if (!db_.isOpen()) return;
    PlateInventory plates;
    if (ReadPlates(db_.connection(), cboPlateUnit->currentText(), plates)) {
        spnBar->setValue(plates.bar);
        txtPlates->setText(PlatePairsText(plates.plates));
    }
    WarmupScheme scheme;
    if (ReadWarmup(db_.connection(), scheme)) txtWarmup->setText(WarmupText(scheme));
}

void RoutineWindow::savePlates() {
    const std::optional<std::vector<PlatePair>> pairs = ParsePlatePairs(txtPlates->text());
    if (!pairs) {
        txtPlates->setFocus();
        platform_.message(
            QStringLiteral("プレートは「重さ×ペア数」をカンマで区切って入力してください"));
        return;
    }
    PlateInventory plates;
    plates.unit = cboPlateUnit->currentText();
    plates.bar = spnBar->value();
    plates.plates = *pairs;
    checked(SavePlates(db_.connection(), plates));
    showPlates();
    refreshPlan();
}

void RoutineWindow::saveWarmup() {
    const std::optional<WarmupScheme> scheme = ParseWarmup(txtWarmup->text());
    if (!scheme) {
        txtWarmup->setFocus();
        platform_.message(QStringLiteral(
            "ウォームアップは「％×回数」をカンマで区切って入力してください（0はバーだけ）"));
        return;
    }
    checked(SaveWarmup(db_.connection(), *scheme));
    showPlates();
    refreshPlan();
}

// --- 「メニューに反映」 ---

void RoutineWindow::reflect() {
    const QString ymd = mainDate_();
    std::vector<ReflectOffer> offers;
    if (!ReflectOffers(db_.connection(), *plan_, ymd, offers)) {
        platform_.message(QStringLiteral("記録を読めませんでした"));
        return;
    }
    if (offers.empty()) {
        platform_.message(QStringLiteral("メニューと違う重量で行った種目はありません"));
        return;
    }
    int taken = 0;
    for (const ReflectOffer& offer : offers) {
        const QString question =
            QStringLiteral("%1: メニュー %2%4 → この日 %3%4\nこの日の重量をメニューに反映しますか")
                .arg(offer.exerciseName, LoadText(offer.planLoad), LoadText(offer.dayLoad),
                     offer.unit);
        if (platform_.message(question, Buttons::YesNo) != Answer::Yes) continue;
        if (!checked(TakeReflectOffer(db_.connection(), offer, ymd))) break;
        ++taken;
    }
    if (taken > 0) {
        ReadRoutineBook(db_.connection(), book_);
        showItems(currentItemId());
        refreshPlan();
    }
}

}  // namespace sorvenka
