// メニュー: making, renaming, ordering and deleting routines, days and items, and the fields of
// one item. Each change is written at once and everything is read again.
#include "common/platform.h"
#include "db/database.h"
#include "db/master_lists.h"
#include "routine_window/routine_window.h"
#include "routines/day_plan.h"
#include "routines/progression.h"

namespace sorvenka {

namespace {

const QString kWeekdayChars = QStringLiteral("月火水木金土日");  // Monday first, as the bits

QString WeekdaysText(int bits) {
    QString text;
    for (int i = 0; i < 7; ++i)
        if (bits & (1 << i)) text += kWeekdayChars[i];
    return text;
}

// The ids of a list in their order, with the one at `row` moved by `by` places.
std::vector<qint64> Moved(std::vector<qint64> ids, int row, int by) {
    const int to = row + by;
    if (row < 0 || to < 0 || to >= static_cast<int>(ids.size())) return {};
    std::swap(ids[row], ids[to]);
    return ids;
}

}  // namespace

qint64 RoutineWindow::currentRoutineId() const {
    return cboRoutine->currentIndex() < 0 ? 0 : cboRoutine->currentData().toLongLong();
}

qint64 RoutineWindow::currentDayId() const {
    const QListWidgetItem* item = lstDays->currentItem();
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

qint64 RoutineWindow::currentItemId() const {
    const QListWidgetItem* item = lstItems->currentItem();
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

bool RoutineWindow::checked(bool ok) {
    if (!ok) platform_.message(QStringLiteral("メニューを保存できませんでした"));
    return ok;
}

void RoutineWindow::showRoutines(qint64 keepRoutine) {
    if (!ReadRoutineBook(db_.connection(), book_))
        platform_.message(QStringLiteral("メニューを読めませんでした"));
    filling_ = true;
    cboRoutine->clear();
    for (const Routine& r : book_.routines) cboRoutine->addItem(r.name, r.id);
    cboRoutine->setCurrentIndex(std::max(0, cboRoutine->findData(keepRoutine)));
    filling_ = false;
    showDays(currentDayId());
}

void RoutineWindow::showDays(qint64 keepDay) {
    const Routine* routine = book_.routine(currentRoutineId());
    cboSchedule->setCurrentIndex(routine && routine->schedule == Schedule::Weekdays ? 1 : 0);
    filling_ = true;
    lstDays->clear();
    int keepRow = 0;
    for (const RoutineDay& day : book_.daysOf(currentRoutineId())) {
        if (day.id == keepDay) keepRow = lstDays->count();
        auto* line = new QListWidgetItem(day.name, lstDays);
        line->setData(Qt::UserRole, day.id);
    }
    if (lstDays->count() > 0) lstDays->setCurrentRow(keepRow);
    filling_ = false;
    const RoutineDay* day = book_.day(currentDayId());
    txtWeekdays->setText(day ? WeekdaysText(day->weekdays) : QString());
    txtWeekdays->setEnabled(day && routine && routine->schedule == Schedule::Weekdays);
    showItems(currentItemId());
    showPlanDays();
    refreshPlan();
}

void RoutineWindow::showItems(qint64 keepItem) {
    filling_ = true;
    lstItems->clear();
    int keepRow = 0;
    for (const RoutineItem& item : book_.itemsOf(currentDayId())) {
        if (item.id == keepItem) keepRow = lstItems->count();
        QString name = item.grpCd + QLatin1Char('-') + item.exerCd;
        for (const QString& entry : DBFillExerList(db_, item.grpCd))
            if (entry.left(2) == item.exerCd) name = entry.mid(3);
        QString text = name + QStringLiteral("  %1セット").arg(item.workingSets);
        if (!item.superset.isEmpty()) text = item.superset + QStringLiteral(": ") + text;
        auto* line = new QListWidgetItem(text, lstItems);
        line->setData(Qt::UserRole, item.id);
    }
    if (lstItems->count() > 0) lstItems->setCurrentRow(keepRow);
    filling_ = false;
    for (const RoutineItem& item : book_.items)
        if (item.id == currentItemId()) showItem(item);
}

void RoutineWindow::fillExercises(const QString& grpCd) {
    const QString kept = cboExer->currentData().toString();
    cboExer->clear();
    for (const QString& entry : DBFillExerList(db_, grpCd))
        cboExer->addItem(entry.mid(3), entry.left(2));
    cboExer->setCurrentIndex(std::max(0, cboExer->findData(kept)));
}

void RoutineWindow::showItem(const RoutineItem& item) {
    cboGrp->setCurrentIndex(std::max(0, cboGrp->findData(item.grpCd)));
    fillExercises(item.grpCd);
    cboExer->setCurrentIndex(std::max(0, cboExer->findData(item.exerCd)));
    cboKind->setCurrentIndex(cboKind->findData(int(item.kind)));
    spnSets->setValue(item.workingSets);
    spnRepMin->setValue(item.repMin);
    spnRepMax->setValue(item.repMax);
    cboCountUnit->setCurrentText(item.countUnit);
    spnDuration->setValue(item.durationSec);
    spnLoad->setValue(item.startLoad);
    cboLoadUnit->setCurrentText(item.loadUnit);
    spnRest->setValue(item.restSec);
    cboRule->setCurrentIndex(cboRule->findData(int(item.rule)));
    spnStep->setValue(item.step);
    spnRounding->setValue(item.rounding);
    chkPlates->setChecked(item.usesPlates);
    txtSuperset->setText(item.superset);
}

void RoutineWindow::readItem(RoutineItem& item) const {
    item.grpCd = cboGrp->currentData().toString();
    item.exerCd = cboExer->currentData().toString();
    item.kind = static_cast<ItemKind>(cboKind->currentData().toInt());
    item.workingSets = spnSets->value();
    item.repMin = std::min(spnRepMin->value(), spnRepMax->value());
    item.repMax = std::max(spnRepMin->value(), spnRepMax->value());
    item.countUnit = cboCountUnit->currentText();
    item.durationSec = spnDuration->value();
    item.startLoad = spnLoad->value();
    item.loadUnit = cboLoadUnit->currentText();
    item.restSec = spnRest->value();
    item.rule = static_cast<ProgressionRule>(cboRule->currentData().toInt());
    item.step = spnStep->value();
    item.rounding = spnRounding->value();
    item.usesPlates = chkPlates->isChecked();
    item.superset = txtSuperset->text().trimmed().toUpper();
}

// --- routines ---

void RoutineWindow::addRoutine() {
    const QString name =
        platform_
            .inputBox(QStringLiteral("メニューの名前"), QStringLiteral("メニューを追加"),
                      QStringLiteral("メニュー%1").arg(book_.routines.size() + 1))
            .trimmed();
    if (name.isEmpty()) return;
    Routine routine;
    routine.name = name;
    checked(AddRoutine(db_.connection(), routine));
    showRoutines(routine.id);
}

void RoutineWindow::renameRoutine() {
    const Routine* routine = book_.routine(currentRoutineId());
    if (!routine) return;
    Routine renamed = *routine;
    renamed.name =
        platform_
            .inputBox(QStringLiteral("メニューの名前"), QStringLiteral("名前変更"), routine->name)
            .trimmed();
    if (renamed.name.isEmpty() || renamed.name == routine->name) return;
    checked(UpdateRoutine(db_.connection(), renamed));
    showRoutines(renamed.id);
}

void RoutineWindow::deleteRoutine() {
    const Routine* routine = book_.routine(currentRoutineId());
    if (!routine) return;
    if (platform_.message(
            QStringLiteral("メニュー「%1」を日と種目ごと削除しますか").arg(routine->name),
            Buttons::YesNo) != Answer::Yes)
        return;
    checked(DeleteRoutine(db_.connection(), routine->id));
    showRoutines(0);
}

void RoutineWindow::moveRoutine(int by) {
    std::vector<qint64> ids;
    for (const Routine& r : book_.routines) ids.push_back(r.id);
    const qint64 id = currentRoutineId();
    ids = Moved(ids, cboRoutine->currentIndex(), by);
    if (ids.empty()) return;
    checked(OrderRoutines(db_.connection(), ids));
    showRoutines(id);
}

void RoutineWindow::scheduleChosen() {
    const Routine* routine = book_.routine(currentRoutineId());
    if (!routine) return;
    Routine changed = *routine;
    changed.schedule = static_cast<Schedule>(cboSchedule->currentData().toInt());
    if (changed.schedule == routine->schedule) return;
    checked(UpdateRoutine(db_.connection(), changed));
    showRoutines(changed.id);
}

// --- days ---

void RoutineWindow::addDay() {
    if (!book_.routine(currentRoutineId())) {
        addRoutine();
        if (!book_.routine(currentRoutineId())) return;
    }
    const QString name = platform_
                             .inputBox(QStringLiteral("日の名前"), QStringLiteral("日を追加"),
                                       QStringLiteral("Day %1").arg(lstDays->count() + 1))
                             .trimmed();
    if (name.isEmpty()) return;
    RoutineDay day;
    day.routineId = currentRoutineId();
    day.name = name;
    checked(AddDay(db_.connection(), day));
    ReadRoutineBook(db_.connection(), book_);
    showDays(day.id);
}

void RoutineWindow::renameDay() {
    const RoutineDay* day = book_.day(currentDayId());
    if (!day) return;
    RoutineDay renamed = *day;
    renamed.name =
        platform_.inputBox(QStringLiteral("日の名前"), QStringLiteral("名前変更"), day->name)
            .trimmed();
    if (renamed.name.isEmpty() || renamed.name == day->name) return;
    checked(UpdateDay(db_.connection(), renamed));
    ReadRoutineBook(db_.connection(), book_);
    showDays(renamed.id);
}

void RoutineWindow::deleteDay() {
    const RoutineDay* day = book_.day(currentDayId());
    if (!day) return;
    if (platform_.message(QStringLiteral("日「%1」を種目ごと削除しますか").arg(day->name),
                          Buttons::YesNo) != Answer::Yes)
        return;
    checked(DeleteDay(db_.connection(), day->id));
    ReadRoutineBook(db_.connection(), book_);
    showDays(0);
}

void RoutineWindow::moveDay(int by) {
    std::vector<qint64> ids;
    for (const RoutineDay& d : book_.daysOf(currentRoutineId())) ids.push_back(d.id);
    const qint64 id = currentDayId();
    ids = Moved(ids, lstDays->currentRow(), by);
    if (ids.empty()) return;
    checked(OrderDays(db_.connection(), ids));
    ReadRoutineBook(db_.connection(), book_);
    showDays(id);
}

void RoutineWindow::weekdaysEdited() {
    const RoutineDay* day = book_.day(currentDayId());
    if (!day) return;
    int bits = 0;
    for (const QChar c : txtWeekdays->text()) {
        const qsizetype at = kWeekdayChars.indexOf(c);
        if (at >= 0) bits |= 1 << at;
    }
    if (bits == day->weekdays) return;
    RoutineDay changed = *day;
    changed.weekdays = bits;
    checked(UpdateDay(db_.connection(), changed));
    ReadRoutineBook(db_.connection(), book_);
    showDays(changed.id);
}

void RoutineWindow::dayFromLog() {
    const QString ymd = mainDate_();
    std::vector<RoutineItem> items;
    if (!ItemsFromDay(db_.connection(), ymd, items)) {
        platform_.message(QStringLiteral("記録を読めませんでした"));
        return;
    }
    if (items.empty()) {
        platform_.message(QStringLiteral("%1 に登録したセットがありません").arg(ymd));
        return;
    }
    if (!book_.routine(currentRoutineId())) {
        addRoutine();
        if (!book_.routine(currentRoutineId())) return;
    }
    const QString name =
        platform_
            .inputBox(QStringLiteral("日の名前"), QStringLiteral("この日からメニューを作る"), ymd)
            .trimmed();
    if (name.isEmpty()) return;
    RoutineDay day;
    day.routineId = currentRoutineId();
    day.name = name;
    bool ok = AddDay(db_.connection(), day);
    for (RoutineItem& item : items) {
        if (!ok) break;
        item.dayId = day.id;
        ok = AddItem(db_.connection(), item);
    }
    checked(ok);
    ReadRoutineBook(db_.connection(), book_);
    showDays(day.id);
}

// --- items ---

void RoutineWindow::addItem() {
    if (!book_.day(currentDayId())) {
        platform_.message(QStringLiteral("先に日を追加してください"));
        return;
    }
    RoutineItem item;
    readItem(item);
    if (item.grpCd.isEmpty() || item.exerCd.isEmpty()) {
        platform_.message(QStringLiteral("種目を選択してください"));
        return;
    }
    item.dayId = currentDayId();
    checked(AddItem(db_.connection(), item));
    ReadRoutineBook(db_.connection(), book_);
    showDays(item.dayId);
    showItems(item.id);
}

void RoutineWindow::saveItem() {
    for (const RoutineItem& stored : book_.items) {
        if (stored.id != currentItemId()) continue;
        RoutineItem item = stored;
        readItem(item);
        if (item.grpCd.isEmpty() || item.exerCd.isEmpty()) {
            platform_.message(QStringLiteral("種目を選択してください"));
            return;
        }
        checked(UpdateItem(db_.connection(), item));
        ReadRoutineBook(db_.connection(), book_);
        showDays(item.dayId);
        showItems(item.id);
        return;
    }
}

void RoutineWindow::deleteItem() {
    const qint64 id = currentItemId();
    if (id == 0) return;
    if (platform_.message(
            QStringLiteral("「%1」を日から削除しますか").arg(lstItems->currentItem()->text()),
            Buttons::YesNo) != Answer::Yes)
        return;
    checked(DeleteItem(db_.connection(), id));
    ReadRoutineBook(db_.connection(), book_);
    showDays(currentDayId());
}

void RoutineWindow::moveItem(int by) {
    std::vector<qint64> ids;
    for (const RoutineItem& i : book_.itemsOf(currentDayId())) ids.push_back(i.id);
    const qint64 id = currentItemId();
    ids = Moved(ids, lstItems->currentRow(), by);
    if (ids.empty()) return;
    checked(OrderItems(db_.connection(), ids));
    ReadRoutineBook(db_.connection(), book_);
    showDays(currentDayId());
    showItems(id);
}

}  // namespace sorvenka
