#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <functional>

#include "masters/master_statements.h"

namespace sorvenka {

class Database;
class Platform;

// What the management window needs from the window that opens it.
struct MastersContext {
    Database& db;
    Platform& platform;
    QString dbFilePath;                 // the database file, copied before a merge
    QString backupFolder;               // where that copy goes (db_backup)
    std::function<void()> dataChanged;  // after every stored change
};

// 「種目の管理」: the groups and the exercises of the chosen group, hidden ones included, with
// the buttons that change them. Names are asked through the input box; every change is stored
// at once and then reported to the opener, which refills its own lists.
class MastersWindow : public QWidget {
    Q_OBJECT

  public:
    MastersWindow(const MastersContext& context, QWidget* parent = nullptr);

    // Reads both tables again, keeping the chosen group and exercise where they still exist.
    void reloadTables();

    // --- controls (public so that tests drive the real widgets) ---
    QTableWidget* tblGroups;
    QPushButton* cmdGroupAdd;
    QPushButton* cmdGroupRename;
    QPushButton* cmdGroupUp;
    QPushButton* cmdGroupDown;
    QPushButton* cmdGroupShow;
    QPushButton* cmdGroupDelete;

    QTableWidget* tblExercises;
    QPushButton* cmdExerAdd;
    QPushButton* cmdExerRename;
    QPushButton* cmdExerUp;
    QPushButton* cmdExerDown;
    QPushButton* cmdExerShow;
    QPushButton* cmdExerDelete;

    QComboBox* cboMoveTo;
    QPushButton* cmdMove;
    QComboBox* cboMergeInto;
    QPushButton* cmdMerge;
    QLabel* lblNote;

    // The chosen group and exercise ("" when none).
    QString selectedGrpCd() const;
    ExerciseKey selectedExercise() const;
    // Chooses a row by code; false when it is not listed.
    bool selectGroup(const QString& grpCd);
    bool selectExercise(const QString& exerCd);

    // Role of the first cell of a row that holds the row's code.
    static constexpr int kCodeRole = Qt::UserRole + 1;

  protected:
    bool event(QEvent* event) override;

  private:
    void buildControls();
    void fillGroups();
    void fillExercises();
    void fillTargets();
    void updateButtons();

    // The handlers of the buttons.
    void addGroup();
    void renameGroup();
    void moveGroup(int step);
    void toggleGroup();
    void deleteGroup();
    void addExercise();
    void renameExercise();
    void moveExerciseInList(int step);
    void toggleExercise();
    void deleteExercise();
    void moveExerciseToGroup();
    void mergeExercise();

    // After a change: the note, the tables and the opener; a refusal is shown as a message.
    void finish(bool done, const QString& message, const QString& note);

    Database& db_;
    Platform& platform_;
    QString dbFilePath_;
    QString backupFolder_;
    std::function<void()> dataChanged_;
    bool filling_ = false;
};

}  // namespace sorvenka
