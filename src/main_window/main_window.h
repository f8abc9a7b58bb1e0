#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>

#include "db/exer_record.h"
#include "main_window/record_list_view.h"

namespace sorvenka {

class Database;
class LastSessionPanel;
class Platform;

// What the window needs from the start-up sequence.
struct WindowContext {
    Database& db;
    Platform& platform;
    QString dbFilePath;   // the full path of the database file, shown in the caption
    QString baseFolder;   // the parent of the program's folder, where db, rec, wav, htm lie
    QString programName;  // the executable's name without extension ("Valdrome")
};

// frmMain, the program's only window. Controls keep the names and indices of the layout;
// control arrays are real arrays whose members share one handler that receives the index.
//
// Event conventions: setting a list's selection from code runs its click behaviour (also to
// no selection), setting a text from code runs its change behaviour, an unselected list
// reads as the empty text, and every handler runs to its end. Lists report their click
// through itemSelectionChanged, texts through textChanged, both of which fire for code
// changes; refilling a list (clear and add) is not a click. A user's click on the item that is
// already selected is a click too (ListClickGuard), and the user cannot empty a list.
class MainWindow : public QWidget {
    Q_OBJECT

  public:
    explicit MainWindow(const WindowContext& context, QWidget* parent = nullptr);

    // Window start: Form_Load runs in the constructor's caller before the window is shown;
    // Form_Activate runs once, when the window is first shown.
    void Form_Load();
    void Form_Activate();
    // Closes the database and ends the program at once.
    [[noreturn]] void Form_Unload();

    // --- controls (public so that tests drive the real widgets) ---
    QLineEdit* txtYmd;
    QLabel* lblWeekday;
    QLabel* lblFirstDayTitle;
    QLabel* lblFirstDay;
    std::array<QPushButton*, 3> cmdOpen;
    QPushButton* cmdEnd;
    std::array<QLabel*, 14> Label1;

    QListWidget* lstGrp;
    QListWidget* lstExer;
    QLineEdit* txtTarget;
    QListWidget* lstUnitTarget;
    std::array<QPushButton*, 6> cmdClear;
    std::array<QPushButton*, 2> cmdZero;
    std::array<QLineEdit*, 2> txtHMS;
    std::array<QPushButton*, 2> cmdNow;
    QLineEdit* txtCount;
    QListWidget* lstUnit;
    QListWidget* lstSweat;
    QPlainTextEdit* txtComment;
    QPushButton* cmdInsert;
    QPushButton* cmdUpdate;
    QLineEdit* txtCountMin;
    QLineEdit* txtCountSec;

    QGroupBox* Frame2;
    QGroupBox* Frame1;
    QLineEdit* txtWeekNum;
    std::array<QPushButton*, 2> cmdInc;
    QListWidget* lstRange;
    QGroupBox* Frame3;
    QLabel* Label4;
    std::array<QRadioButton*, 2> optOrder;
    QGroupBox* Frame4;
    std::array<QRadioButton*, 2> optComment;
    QLabel* Label2;
    RecordListView* lstRecord;
    QPushButton* cmdDelete;
    QPushButton* cmdUnselect;
    QLabel* Label3;
    QPushButton* cmdFile;

    // Free area right of the record frame and below 登録/更新: features beyond the main
    // window's own controls. They come last in the tab order.
    QPushButton* cmdProgress;       // 推移: the progress window
    QPushButton* cmdCsvExport;      // CSVに書き出す
    QPushButton* cmdCsvImport;      // CSVを読み込む
    QPushButton* cmdMasters;        // 種目の管理: groups and exercises
    QPushButton* cmdRestoreBackup;  // バックアップから復元
    QPushButton* cmdStartSet;       // 開始: the current time into the start, nothing else
    QPushButton* cmdFinishInsert;  // 完了して登録: the current time into the finish, then 登録
    QPushButton* cmdRoutine;       // メニュー: the routines and today's plan
    // 前回: last session, records and rest clock of the chosen exercise (x 1048.., y 424..).
    LastSessionPanel* lastSessionPanel = nullptr;

    // Asks for the CSV file to import, starting in the given folder; the desktop's file
    // dialog when not set (tests put their own in its place).
    std::function<QString(const QString& folder)> chooseCsvFile;

    // True while a selected set is copied into the entry controls: the group and exercise
    // clicks then do not rebuild the record list.
    bool m_loadingRecord = false;

    // --- event behaviours: called by the signals of user and code changes alike ---
    void txtYmd_Change();
    void lstGrp_Click();
    void lstExer_Click();
    void lstRange_Click();
    void lstRecord_Click();
    void optOrder_Click(int index);
    void optComment_Click(int index);
    void cmdUnselect_Click();
    void cmdClear_Click(int index);
    void cmdInsert_Click();
    void cmdUpdate_Click();
    void cmdDelete_Click();
    void cmdFile_Click();
    void cmdNow_Click(int index);
    void cmdZero_Click(int index);
    void cmdInc_Click(int index);
    void cmdOpen_Click(int index);
    void cmdEnd_Click();
    void txtCountSec_Change();
    void cmdProgress_Click();
    void cmdCsvExport_Click();
    void cmdCsvImport_Click();
    // 前回の値: last time's set N+1 into the entry controls; nothing is stored.
    void cmdFillLast_Click();
    // Shows the chosen exercise's last session before the date again.
    void refreshLastSession();
    void cmdMasters_Click();
    void cmdRestoreBackup_Click();
    void cmdStartSet_Click();
    // The finish, the day's last sweat level when none is chosen, then 登録 as its button runs.
    void cmdFinishInsert_Click();
    void cmdRoutine_Click();

    // After data changed outside the entry controls (a master change, an import, a restore):
    // refills the group and exercise lists keeping the selection where it still exists,
    // recomputes the first recorded day, rebuilds the record list and lets an open progress
    // window follow.
    void reloadAfterDataChange();

  Q_SIGNALS:
    // A set was stored by 登録 or written by 更新 under the key.
    void setStored(const RecordKey& key);

  public:
    // --- private procedures of the window, reachable by the tests ---
    bool ValidateEntry(QString& message);
    void RefreshRecordList();
    void FillRecordList(const QString& ymd, const QString& weeks, int range, const QString& grpCd,
                        const QString& exerCd, bool ascending, bool showComments);
    void ReadRecordKey(QString& ymd, QString& grpCd, QString& exerCd);
    // Fills target, unit_t, unit, cnt_min, cnt_sec, hms_sta, hms_end, cnt, sweat_cd and
    // comment of the record, in that order; an empty load becomes "0".
    void ReadEntryFields(ExerRecord& r);
    // The export lines of lstRecord: a record line without its key part and the blanks before
    // it; day and comment lines unchanged.
    QStringList CopyListLines() const;
    // The key of the selected line when it is a record line.
    bool SelectedRecordKey(RecordKey& key) const;

    // The comment as stored (line breaks as CR LF) and setting it from a stored text.
    QString commentText() const;
    void setCommentText(const QString& text);

    // List helpers of the event conventions.
    static QString selectedText(const QAbstractItemView* list);  // "" when nothing is selected
    static int selectedRow(const QAbstractItemView* list);       // -1 when nothing is selected
    // Selects a row (or none with -1); the list's click behaviour runs through its signal.
    static void selectRow(QAbstractItemView* list, int row);
    // Selects the first item that begins with the code; an empty code matches the first item;
    // no match leaves the selection as it is.
    static void SelectItemByCode(QListWidget* list, const QString& code);
    // Replaces the items without running the click behaviour.
    static void replaceItems(QListWidget* list, const QStringList& items);

    // Role of lstRecord items that holds the line's kind (see record_lines.h).
    static constexpr int kLineKindRole = RecordListView::kLineKindRole;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void connectEvents();
    void buildLastSessionPanel();
    void nameControlsForScreenReaders();
    void clearPerSetFields();
    // After a rebuild that dropped a long list: hands the memory it took back to the system.
    void releaseMemoryAfterLongList(int linesBefore);
    // The load of a stored set: selects or sets like SelectItemByCode and setText, and runs the
    // click or change behaviour also when the value is the one already shown.
    void loadItemByCode(QListWidget* list, const QString& code, void (MainWindow::*click)());
    void loadText(QLineEdit* box, const QString& text, void (MainWindow::*change)());

    Database& db_;
    Platform& platform_;
    QString dbFilePath_;
    QString baseFolder_;
    QString programName_;
    bool activated_ = false;
    // A stored comment with over-long lines, shown in pieces (see comment_box.h).
    bool commentInPieces_ = false;
    QString storedComment_, shownComment_;
};

}  // namespace sorvenka
