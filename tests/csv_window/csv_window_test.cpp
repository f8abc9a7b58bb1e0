// The window's CSV buttons and the import preview, driven headless through their widgets.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "csv/csv_test_files.h"
#include "csv_window/csv_import_dialog.h"
#include "main_window/entry_window_fixture.h"
#include "main_window/progress_module.h"
#include "main_window/window_fixture.h"
#include "progress_window/progress_window.h"
#include "startup/master_codes.h"

namespace sorvenka::testing {
namespace {

const QByteArray kFitNotes =
    "Date,Exercise,Category,Weight (kgs),Reps,Distance,Distance Unit,Time,Comment\r\n"
    "2024-05-14,Zercher Squat,Legs,80,5,,,,\r\n"
    "2024-05-14,ベンチプレス,Chest,60,10,,,,\r\n"
    "2024-05-14,Cable Crunch,Misc,30,12,,,,\r\n";

class CsvWindow : public EntryWindowTest {
  protected:
    void SetUp() override {
        UseLinkedProgressWindow(&SorvenkaOpenProgress);
        EntryWindowTest::SetUp();
    }
    QString rec(const QString& name) const {
        return fx.layout.folder(QStringLiteral("rec")) + QLatin1Char('/') + name;
    }
    QString write(const char* name, const QByteArray& bytes) {
        const QString path = rec(QString::fromLatin1(name));
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }
    QString count(const char* sql) { return Scalar(fx.layout.dbPath(), sql); }

    // Clicks through the import: the file chooser answers `path`, then `drive` acts on the
    // preview while it is shown modal.
    void importThroughWindow(const QString& path,
                             const std::function<void(CsvImportDialog&)>& drive) {
        w->chooseCsvFile = [path](const QString&) { return path; };
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CsvImportDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            driven = true;
            drive(*dialog);
            // A dialog that is still open after the test's steps is cancelled.
            if (dialog->isVisible()) dialog->reject();
        });
        w->cmdCsvImport->click();
        EXPECT_TRUE(driven);
    }
};

TEST_F(CsvWindow, ImportShowsThePreviewWritesOnConfirmationAndRefreshesTheList) {
    const QString path = write("fit.csv", kFitNotes);
    importThroughWindow(path, [&](CsvImportDialog& d) {
        // FitNotes: the categories, else the names, propose the groups; the preview has
        // written nothing.
        EXPECT_EQ(d.cboGroup->currentData().toString(), QString());
        const QString text = d.txtSummary->toPlainText();
        EXPECT_TRUE(text.contains(QStringLiteral("形式: FitNotes"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Zercher Squat → グループ 03 脚、コード 05")));
        EXPECT_TRUE(text.contains(QStringLiteral("Cable Crunch → グループ 06 体幹、コード 05")));
        EXPECT_TRUE(text.contains(QStringLiteral("種目: 登録済み 1、新規 2")));
        EXPECT_EQ(count("select count(*) from t_exer"), QStringLiteral("int:0"));
        // One group for all new exercises, chosen in the picker.
        d.cboGroup->setCurrentIndex(d.cboGroup->findData(QStringLiteral("06")));
        EXPECT_TRUE(d.txtSummary->toPlainText().contains(
            QStringLiteral("Zercher Squat → グループ 06 体幹、コード 05")));
        ASSERT_TRUE(d.cmdImport->isEnabled());
        d.cmdImport->click();
    });
    EXPECT_EQ(count("select count(*) from t_exer"), QStringLiteral("int:3"));
    EXPECT_EQ(
        count("select group_concat(exer_cd) from m_exer where grp_cd = '06' and exer_cd > '04'"),
        QStringLiteral("text:05,06"));
    EXPECT_TRUE(Items(w->lstRecord).join('\n').contains(QStringLiteral("Zercher Squat")));
    EXPECT_EQ(fx.platform.shown.back().text, QStringLiteral("3セットを読み込みました。"));
}

TEST_F(CsvWindow, CancelAndAnEmptyChoiceWriteNothing) {
    const QString path = write("fit.csv", kFitNotes);
    importThroughWindow(path, [](CsvImportDialog& d) { d.cmdCancel->click(); });
    w->chooseCsvFile = [](const QString&) { return QString(); };
    w->cmdCsvImport->click();  // no dialog opens
    EXPECT_EQ(count("select count(*) from t_exer"), QStringLiteral("int:0"));
    EXPECT_EQ(count("select count(*) from m_exer where exer_name = 'Zercher Squat'"),
              QStringLiteral("int:0"));
}

TEST_F(CsvWindow, RefusedRowsAreListedAndTheRestCanBeImported) {
    const QString path = write("bad.csv", kFitNotes + "2024-02-30,Squat,Legs,80,5,,,,\r\n");
    CsvImportDialog d(fx.db, fx.platform, path, w.get());
    EXPECT_TRUE(
        d.txtSummary->toPlainText().contains(QStringLiteral("5行目: 日付が正しくありません")));
    EXPECT_EQ(d.cmdImport->text(), QStringLiteral("残りを読み込む"));
    d.cmdImport->click();
    EXPECT_EQ(d.result().newSets, 3);
    EXPECT_EQ(count("select count(*) from t_exer"), QStringLiteral("int:3"));
}

TEST_F(CsvWindow, AGroupWithEveryNumberTakenStillTakesNewExercises) {
    fx.layout.exec(QStringLiteral(
        "with recursive n(i) as (select 5 union all select i + 1 from n where i < 99) "
        "insert into m_exer select '01', printf('%02d', i), 'x' || i, 1, i from n;"));
    const QString path = write("fit.csv", kFitNotes);
    CsvImportDialog d(fx.db, fx.platform, path, w.get());
    d.cboGroup->setCurrentIndex(d.cboGroup->findData(QStringLiteral("01")));
    const QString text = d.txtSummary->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Zercher Squat → グループ 01 胸、コード 0A")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Cable Crunch → グループ 01 胸、コード 0B")));
    ASSERT_TRUE(d.cmdImport->isEnabled());
    d.cmdImport->click();
    EXPECT_EQ(count("select count(*) from t_exer"), QStringLiteral("int:3"));
    QString message;
    EXPECT_TRUE(CheckMasterCodes(fx.db, message)) << message.toStdString();
}

// Lists, first recorded day and the progress window show an import at once: no click on the
// group is needed.
TEST_F(CsvWindow, AnImportShowsInTheListsAndTheProgressWindowAtOnce) {
    fx.layout.exec(
        QStringLiteral("insert into t_exer values "
                       "('2024/05/01','03','01',1,'','',60,'kg',5,'回',null,null,'0','');"));
    w->reloadAfterDataChange();
    pick(QStringLiteral("03"), QStringLiteral("01"));
    EXPECT_EQ(w->lblFirstDay->text(), QStringLiteral("2024/05/01"));
    w->cmdProgress->click();
    auto* progress = w->findChild<ProgressWindow*>();
    ASSERT_NE(progress, nullptr);
    const int exercisesBefore = progress->cboExer->count();

    const QString path = write("fit.csv", kFitNotes);  // Zercher Squat, a new leg exercise
    importThroughWindow(path, [&](CsvImportDialog& d) { d.cmdImport->click(); });
    EXPECT_TRUE(Items(w->lstExer).contains(QStringLiteral("05 Zercher Squat")))
        << Items(w->lstExer).join('|').toStdString();
    EXPECT_EQ(MainWindow::selectedText(w->lstGrp).left(2), QStringLiteral("03"));
    EXPECT_EQ(MainWindow::selectedText(w->lstExer).left(2), QStringLiteral("01"));
    EXPECT_EQ(w->lblFirstDay->text(), QStringLiteral("2024/05/01"));
    EXPECT_EQ(progress->cboExer->count(), exercisesBefore + 1);
    EXPECT_EQ(progress->cboGrp->currentText().left(2), QStringLiteral("03"));

    // An import of earlier days moves the first recorded day.
    const QString early = write("early.csv",
                                "Date,Exercise,Category,Weight (kgs),Reps,Distance,"
                                "Distance Unit,Time,Comment\r\n"
                                "2019-01-02,スクワット,Legs,40,5,,,,\r\n");
    importThroughWindow(early, [&](CsvImportDialog& d) { d.cmdImport->click(); });
    EXPECT_EQ(w->lblFirstDay->text(), QStringLiteral("2019/01/02"));
}

// The import writes the rows its preview read, whatever happens to the file meanwhile.
TEST_F(CsvWindow, TheImportWritesWhatThePreviewShowedEvenIfTheFileChanges) {
    const QString path = write("fit.csv", kFitNotes);
    CsvImportDialog d(fx.db, fx.platform, path, w.get());
    EXPECT_EQ(d.preview().newSets, 3);
    ASSERT_TRUE(WriteFileBytes(path,
                               "Date,Exercise,Category,Weight (kgs),Reps,Distance,"
                               "Distance Unit,Time,Comment\r\n"
                               "2030-01-01,Other,Chest,1,1,,,,\r\n"));
    d.cmdImport->click();
    EXPECT_EQ(d.result().newSets, 3);
    EXPECT_EQ(count("select group_concat(distinct ymd) from t_exer"),
              QStringLiteral("text:2024/05/14"));
    QFile::remove(path);
    EXPECT_EQ(count("select count(*) from m_exer where exer_name = 'Other'"),
              QStringLiteral("int:0"));
}

// Every name has a row whose destination the user may change; a file without units asks for
// one, proposed from its loads.
TEST_F(CsvWindow, DestinationsAndTheUnitAreChosenInThePreview) {
    const QString path = write(
        "strong.csv",
        "Date,Workout Name,Duration,Exercise Name,Set Order,Weight,Reps,Distance,Seconds,Notes,"
        "Workout Notes,RPE\r\n"
        "2024-05-14 07:00:00,W,1h,Bench Press (Barbell),1,135,5,0,0,,,\r\n"
        "2024-05-14 07:00:00,W,1h,Bench Press (Barbell),2,225,3,0,0,,,\r\n"
        "2024-05-14 07:00:00,W,1h,Weird Press,1,45,10,0,0,,,\r\n");
    importThroughWindow(path, [&](CsvImportDialog& d) {
        EXPECT_TRUE(d.cboUnit->isVisible());
        EXPECT_EQ(d.cboUnit->currentText(), QStringLiteral("lb"));
        EXPECT_TRUE(d.txtSummary->toPlainText().contains(QStringLiteral("重量の単位: lb")));
        EXPECT_FALSE(d.cboDistanceUnit->isVisible());  // no distance in the file
        // Another logger's sets never go to the rest day.
        EXPECT_EQ(d.destinationBox(0)->findText(QStringLiteral("99 99"), Qt::MatchStartsWith), -1);
        ASSERT_EQ(d.tblNames->rowCount(), 2);
        EXPECT_EQ(d.tblNames->item(0, 0)->text(), QStringLiteral("Bench Press (Barbell)"));
        EXPECT_EQ(d.tblNames->item(0, 1)->text(), QStringLiteral("2"));
        EXPECT_EQ(d.destinationBox(0)->currentText(), QStringLiteral("01 01 ベンチプレス"));
        EXPECT_EQ(d.destinationBox(1)->currentText(), QStringLiteral("新しい種目: 99 その他"));
        EXPECT_FALSE(d.destinationBox(1)->accessibleName().isEmpty());
        // Weird Press goes to ショルダープレス instead.
        QComboBox* box = d.destinationBox(1);
        box->setCurrentIndex(box->findText(QStringLiteral("04 01 ショルダープレス")));
        EXPECT_EQ(d.destinationBox(1)->currentText(), QStringLiteral("04 01 ショルダープレス"));
        EXPECT_TRUE(d.preview().newExercises.empty());
        d.cmdImport->click();
    });
    EXPECT_EQ(CellRows(fx.layout.dbPath(),
                       "select grp_cd || exer_cd || ' ' || target || unit_t from t_exer "
                       "order by grp_cd, exer_cd, set_num"),
              (QStringList{"text:0101 135.0lb", "text:0101 225.0lb", "text:0401 45.0lb"}));
    EXPECT_EQ(count("select count(*) from m_exer where exer_name = 'Weird Press'"),
              QStringLiteral("int:0"));
}

// A new exercise's name is typed in the preview, in the table's own editor, before it is made.
TEST_F(CsvWindow, ANewExerciseIsNamedInThePreview) {
    const QString path = write(
        "hevy.csv",
        "title,start_time,end_time,description,exercise_title,superset_id,exercise_notes,"
        "set_index,set_type,weight_kg,reps,distance_km,duration_seconds,rpe\r\n"
        "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,Bench Press (Barbell),,,0,normal,60,5,,,"
        "\r\n"
        "W,\"1 Jun 2024, 07:00\",\"1 Jun 2024, 08:00\",,Bench Press (Dumbbell),,,0,normal,24,8,,,"
        "\r\n");
    importThroughWindow(path, [&](CsvImportDialog& d) {
        ASSERT_EQ(d.tblNames->rowCount(), 2);
        const int column = d.tblNames->columnCount() - 1;
        EXPECT_FALSE(d.tblNames->item(0, column)->flags() & Qt::ItemIsEditable);  // not new
        EXPECT_FALSE(d.tblNames->item(1, 0)->flags() & Qt::ItemIsEditable);
        QTableWidgetItem* name = d.tblNames->item(1, column);
        ASSERT_TRUE(name->flags() & Qt::ItemIsEditable);
        EXPECT_EQ(name->text(), QStringLiteral("Bench Press (Dumbbell)"));
        d.tblNames->setFocus();
        d.tblNames->setCurrentCell(1, column);
        QTest::keyClick(d.tblNames, Qt::Key_F2);
        auto* editor = d.tblNames->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        editor->insert(QStringLiteral("ダンベルプレス"));  // as an input method would
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(d.tblNames->item(1, column)->text(), QStringLiteral("ダンベルプレス"));
        EXPECT_TRUE(d.txtSummary->toPlainText().contains(
            QStringLiteral("Bench Press (Dumbbell)（名前 ダンベルプレス）")))
            << d.txtSummary->toPlainText().toStdString();
        d.cmdImport->click();
    });
    EXPECT_EQ(count("select exer_name from m_exer where grp_cd = '01' and exer_cd = '05'"),
              QStringLiteral("text:ダンベルプレス"));
    EXPECT_EQ(count("select count(*) from t_exer where exer_cd = '05'"), QStringLiteral("int:1"));
}

// A pound lifter's Strong file with a run: the distance unit follows the load unit until the
// user picks one, and the import writes it.
TEST_F(CsvWindow, TheDistanceUnitIsProposedFromTheLoadUnit) {
    const QString path = write(
        "strong.csv",
        "Date,Workout Name,Duration,Exercise Name,Set Order,Weight,Reps,Distance,Seconds,Notes,"
        "Workout Notes,RPE\r\n"
        "2024-05-14 07:00:00,W,1h,Bench Press (Barbell),1,135,5,0,0,,,\r\n"
        "2024-05-14 07:00:00,W,1h,Bench Press (Barbell),2,225,3,0,0,,,\r\n"
        "2024-05-14 07:00:00,W,1h,Running,1,0,0,3.1,1800,,,\r\n");
    importThroughWindow(path, [&](CsvImportDialog& d) {
        EXPECT_TRUE(d.cboDistanceUnit->isVisible());
        EXPECT_EQ(d.cboDistanceUnit->currentText(), QStringLiteral("mi"));
        EXPECT_TRUE(d.txtSummary->toPlainText().contains(QStringLiteral("距離の単位: mi")))
            << d.txtSummary->toPlainText().toStdString();
        EXPECT_TRUE(d.cmdImport->isEnabled());
        d.cboUnit->setCurrentIndex(d.cboUnit->findData(QStringLiteral("kg")));
        EXPECT_EQ(d.cboDistanceUnit->currentText(), QStringLiteral("km"));
        d.cboUnit->setCurrentIndex(d.cboUnit->findData(QStringLiteral("lb")));
        EXPECT_EQ(d.cboDistanceUnit->currentText(), QStringLiteral("mi"));
        // Chosen by hand, it stays.
        d.cboDistanceUnit->setCurrentIndex(d.cboDistanceUnit->findData(QStringLiteral("km")));
        d.cboUnit->setCurrentIndex(d.cboUnit->findData(QStringLiteral("kg")));
        d.cboUnit->setCurrentIndex(d.cboUnit->findData(QStringLiteral("lb")));
        EXPECT_EQ(d.cboDistanceUnit->currentText(), QStringLiteral("km"));
        d.cboDistanceUnit->setCurrentIndex(d.cboDistanceUnit->findData(QStringLiteral("mi")));
        d.cmdImport->click();
    });
    EXPECT_EQ(CellRows(fx.layout.dbPath(),
                       "select target || unit_t from t_exer order by grp_cd, exer_cd, set_num"),
              (QStringList{"text:135.0lb", "text:225.0lb", "text:3.1mi"}));
}

struct ExportCase {
    const char* name;
    Answer scope;        // Yes: all sets, No: the listed period
    const char* answer;  // the input box's answer; nullptr takes the proposal
    const char* file;    // the file expected in rec, or "" for none
    int rows;
};

TEST_F(CsvWindow, ExportAsksForAllOrTheListedPeriodAndTheName) {
    fx.layout.exec(
        QStringLiteral("insert into t_exer values "
                       "('2024/05/14','01','01',1,'','',60,'kg',10,'回',null,null,'0',''),"
                       "('2020/01/01','01','01',1,'','',50,'kg',10,'回',null,null,'0',null);"));
    const ExportCase cases[] = {
        {"all, proposed name", Answer::Yes, nullptr, "Sorvenka_20240514.csv", 2},
        {"listed period, own name", Answer::No, "week.csv", "week.csv", 1},
        {"cancelled", Answer::Yes, "", "", 0},
        {"a name with a folder", Answer::Yes, "../x.csv", "", 0},
    };
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(fx.layout.folder(QStringLiteral("rec"))).removeRecursively();
        QDir().mkpath(fx.layout.folder(QStringLiteral("rec")));
        fx.platform.answers = {c.scope};
        fx.platform.inputs.clear();
        if (c.answer) fx.platform.inputs.push_back(QString::fromUtf8(c.answer));
        w->cmdCsvExport->click();
        EXPECT_EQ(fx.platform.inputsAsked.back().defaultText,
                  QStringLiteral("Sorvenka_20240514.csv"));
        const QStringList files =
            QDir(fx.layout.folder(QStringLiteral("rec"))).entryList(QDir::Files);
        if (!*c.file) {
            EXPECT_TRUE(files.isEmpty());
            continue;
        }
        ASSERT_EQ(files, QStringList{QString::fromUtf8(c.file)});
        const QByteArray bytes = ReadFileBytes(rec(files.first()));
        EXPECT_EQ(bytes.count("\r\n"), c.rows + 1);
        EXPECT_EQ(
            fx.platform.shown.back().text,
            QStringLiteral("%1セットを書き出しました。\r\n").arg(c.rows) + rec(files.first()));
    }
}

// An earlier file of the same name is replaced only after a Yes, and keeps its permissions.
TEST_F(CsvWindow, ExportAsksBeforeReplacingAFile) {
    fx.layout.exec(
        QStringLiteral("insert into t_exer values "
                       "('2024/05/14','01','01',1,'','',60,'kg',10,'回',null,null,'0','');"));
    const QString path = write("Sorvenka_20240514.csv", "earlier\r\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    struct Case {
        const char* name;
        Answer replace;
        bool replaced;
    };
    for (const Case& c :
         {Case{"declined", Answer::No, false}, Case{"accepted", Answer::Yes, true}}) {
        SCOPED_TRACE(c.name);
        fx.platform.answers = {Answer::Yes, c.replace};
        fx.platform.inputs.clear();
        fx.platform.shown.clear();
        w->cmdCsvExport->click();
        ASSERT_GE(fx.platform.shown.size(), 2u);
        EXPECT_EQ(fx.platform.shown[1].text,
                  QStringLiteral("同じ名前のファイルがあります。置き換えますか？\r\n") + path);
        EXPECT_EQ(fx.platform.shown[1].buttons, Buttons::YesNo);
        EXPECT_EQ(ReadFileBytes(path) == "earlier\r\n", !c.replaced);
        EXPECT_EQ(fx.platform.shown.size(), c.replaced ? 3u : 2u);
    }
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser);
}

}  // namespace
}  // namespace sorvenka::testing
