#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <memory>

#include "routines/routine_store.h"

namespace sorvenka {

class Database;
class Platform;
struct DayPlan;

// What a plan line puts into the main window's entry: nothing is stored.
struct PlanFill {
    QString grpCd, exerCd;
    QString load, loadUnit;
    QString count, countUnit;  // count form
    QString minutes, seconds;  // duration form
    int restSec = 0;           // the rest clock's length
};

// What the window needs from the window that opens it.
struct RoutineContext {
    Database& db;
    Platform& platform;
    std::function<QString()> mainDate;              // the main window's date text
    std::function<void(const PlanFill&)> fillMain;  // a plan line into the entry controls
};

// メニュー: routines, their days and items, the plates and the warm-up scheme, and the plan of
// the main window's date. Every showing of the plan reads the log anew.
class RoutineWindow : public QWidget {
    Q_OBJECT

  public:
    RoutineWindow(const RoutineContext& context, QWidget* parent = nullptr);
    ~RoutineWindow() override;

    // Reads the routines and the plan again (after the date or the log changed).
    void refresh();
    // The plan only, for the current routine and day choice.
    void refreshPlan();
    // Fills the main window from the plan line in that row of tvPlan.
    void fillFromLine(int row);

    // --- controls (public so that tests drive the real widgets) ---
    QComboBox* cboRoutine;
    QPushButton* cmdAddRoutine;
    QPushButton* cmdRenameRoutine;
    QPushButton* cmdDeleteRoutine;
    QPushButton* cmdRoutineUp;
    QPushButton* cmdRoutineDown;
    QComboBox* cboSchedule;

    QListWidget* lstDays;
    QPushButton* cmdAddDay;
    QPushButton* cmdRenameDay;
    QPushButton* cmdDeleteDay;
    QPushButton* cmdDayUp;
    QPushButton* cmdDayDown;
    QPushButton* cmdDayFromLog;  // この日からメニューを作る
    QLineEdit* txtWeekdays;      // 曜日で: the day's weekdays as 「月水金」

    QListWidget* lstItems;
    QPushButton* cmdAddItem;
    QPushButton* cmdSaveItem;
    QPushButton* cmdDeleteItem;
    QPushButton* cmdItemUp;
    QPushButton* cmdItemDown;
    QComboBox* cboGrp;
    QComboBox* cboExer;
    QComboBox* cboKind;
    QSpinBox* spnSets;
    QSpinBox* spnRepMin;
    QSpinBox* spnRepMax;
    QComboBox* cboCountUnit;
    QSpinBox* spnDuration;
    QDoubleSpinBox* spnLoad;
    QComboBox* cboLoadUnit;
    QSpinBox* spnRest;
    QComboBox* cboRule;
    QDoubleSpinBox* spnStep;
    QDoubleSpinBox* spnRounding;
    QCheckBox* chkPlates;
    QLineEdit* txtSuperset;

    QComboBox* cboPlateUnit;
    QDoubleSpinBox* spnBar;
    QLineEdit* txtPlates;
    QPushButton* cmdSavePlates;
    QLineEdit* txtWarmup;
    QPushButton* cmdSaveWarmup;

    QLabel* lblPlanDay;
    QComboBox* cboPlanDay;  // 次の日（自動） or a day of the routine
    QTreeWidget* tvPlan;
    QPushButton* cmdReflect;  // メニューに反映

    // Roles of tvPlan's lines: the line's kind, the item's index and the warm-up row.
    static constexpr int kLineKindRole = Qt::UserRole;
    static constexpr int kItemRole = Qt::UserRole + 1;
    static constexpr int kWarmupRole = Qt::UserRole + 2;
    static constexpr int kPlanLineRole = Qt::UserRole + 3;  // index into the plan's lines
    enum LineKind { ItemLine = 1, WarmupLine = 2 };

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void buildControls();
    void nameControls();
    void connectEvents();
    QWidget* buildEditor();
    QWidget* buildPlanArea();

    qint64 currentRoutineId() const;
    qint64 currentDayId() const;
    qint64 currentItemId() const;
    void showRoutines(qint64 keepRoutine);
    void showDays(qint64 keepDay);
    void showItems(qint64 keepItem);
    void showItem(const RoutineItem& item);
    void readItem(RoutineItem& item) const;
    void fillExercises(const QString& grpCd);
    void showPlates();
    void showPlanDays();
    // A failed write: says so and reads everything again.
    bool checked(bool ok);

    void addRoutine();
    void renameRoutine();
    void deleteRoutine();
    void moveRoutine(int by);
    void scheduleChosen();
    void addDay();
    void renameDay();
    void deleteDay();
    void moveDay(int by);
    void dayFromLog();
    void weekdaysEdited();
    void addItem();
    void saveItem();
    void deleteItem();
    void moveItem(int by);
    void savePlates();
    void saveWarmup();
    void reflect();

    Database& db_;
    Platform& platform_;
    std::function<QString()> mainDate_;
    std::function<void(const PlanFill&)> fillMain_;
    RoutineBook book_;
    std::unique_ptr<DayPlan> plan_;  // the plan shown, line by line
    bool filling_ = false;           // lists refilled from code: their changes are no choice
};

}  // namespace sorvenka
