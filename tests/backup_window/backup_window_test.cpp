// 「バックアップから復元」 driven headless through the real widgets of the main window and the
// backup window.
#include "backup_window/backup_window.h"

#include <QApplication>
#include <QTimer>

#include "common/paths.h"
#include "main_window/window_fixture.h"
#include "startup/test_files.h"
#include "support/damaged_database.h"

namespace sorvenka::testing {
namespace {

const QString kGood = QStringLiteral("exercise_2024_0513-2100_00.sqlite3");
const QString kDamaged = QStringLiteral("exercise_2024_0514-0700_00.sqlite3");

class BackupWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        // The good copy holds a set of Monday the 13th; the database now one of the 14th.
        StoredSet set;
        set.ymd = QStringLiteral("2024/05/13");
        Store(env.layout, set);
        ASSERT_TRUE(QFile::copy(env.layout.dbPath(), backup(kGood)));
        ASSERT_TRUE(QFile::copy(env.layout.dbPath(), backup(kDamaged)));
        ASSERT_TRUE(DamagePrimaryKeyIndex(backup(kDamaged)));
        env.layout.exec(QStringLiteral("delete from t_exer"));
        set.ymd = QStringLiteral("2024/05/14");
        Store(env.layout, set);
        startWindow();
    }
    QString backup(const QString& name) const {
        return JoinPath(env.layout.folder(QStringLiteral("db_backup")), name);
    }
    // Clicks 「バックアップから復元」 and acts on the backup window while it is shown modal.
    void throughWindow(const std::function<void(BackupWindow&)>& drive) {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<BackupWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            driven = true;
            drive(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        window->cmdRestoreBackup->click();
        EXPECT_TRUE(driven);
    }
    bool listed(const char* keyPart) const {
        return RowOfKey(window->lstRecord, QString::fromLatin1(keyPart)) >= 0;
    }
};

TEST_F(BackupWindowTest, ListsTheCopiesAndRestoresTheChosenOneAfterConfirmation) {
    ASSERT_TRUE(listed("2024/05/14,01,01,1"));
    env.platform.answers = {Answer::Yes};
    throughWindow([&](BackupWindow& d) {
        ASSERT_EQ(d.lstBackups->rowCount(), 2);
        const auto cell = [&](int row, int column) {
            return d.lstBackups->item(row, column)->text();
        };
        EXPECT_EQ(
            (QStringList{cell(0, 0), cell(0, 3)}),
            (QStringList{QStringLiteral("2024/05/14 07:00:00"), QStringLiteral("壊れています")}));
        EXPECT_EQ((QStringList{cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3)}),
                  (QStringList{QStringLiteral("2024/05/13 21:00:00"), QStringLiteral("1"),
                               QStringLiteral("2024/05/13"), QStringLiteral("確認済み")}));
        // The damaged copy cannot be restored; the newest good one is proposed.
        EXPECT_EQ(d.lstBackups->currentRow(), 1);
        d.lstBackups->selectRow(0);
        EXPECT_FALSE(d.cmdRestore->isEnabled());
        d.lstBackups->selectRow(1);
        ASSERT_TRUE(d.cmdRestore->isEnabled());
        d.cmdRestore->click();
    });
    ASSERT_GE(env.platform.shown.size(), 2u);
    EXPECT_EQ(env.platform.shown[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(env.platform.shown[0].text.contains(kGood));
    EXPECT_TRUE(env.platform.shown.back().text.startsWith(
        QStringLiteral("バックアップから復元しました。")));
    // The window shows the restored data at once.
    EXPECT_TRUE(listed("2024/05/13,01,01,1"));
    EXPECT_FALSE(listed("2024/05/14,01,01,1"));
    EXPECT_EQ(window->lblFirstDay->text(), QStringLiteral("2024/05/13"));
    EXPECT_TRUE(env.db.isOpen());
    const QString kept =
        JoinPath(env.layout.folder(QStringLiteral("db")),
                 QStringLiteral("exercise_before_restore_2024_0514-0930_15.sqlite3"));
    EXPECT_EQ(ScalarText(kept, QStringLiteral("select ymd from t_exer")),
              QStringLiteral("2024/05/14"));
}

// Undo is in reach: the copies taken before a merge and the files kept by a restore are listed
// with their kind, and the question sets the copy's figures beside the current file's.
TEST_F(BackupWindowTest, EveryKindOfCopyIsListedAndTheQuestionComparesBoth) {
    ASSERT_TRUE(QFile::copy(backup(kGood),
                            backup(QStringLiteral("merge_exercise_20240514-080000.sqlite3"))));
    ASSERT_TRUE(
        QFile::copy(env.layout.dbPath(),
                    JoinPath(env.layout.folder(QStringLiteral("db")),
                             QStringLiteral("exercise_before_restore_2024_0514-0900_00.sqlite3"))));
    const QByteArray before = ReadBytes(env.layout.dbPath());
    env.platform.answers = {Answer::No};
    throughWindow([&](BackupWindow& d) {
        QStringList rows;
        for (int row = 0; row < d.lstBackups->rowCount(); ++row)
            rows << d.lstBackups->item(row, 0)->text() + QLatin1Char(' ') +
                        d.lstBackups->item(row, 4)->text();
        EXPECT_EQ(rows.join(QLatin1Char('\n')).toStdString(),
                  QStringLiteral("2024/05/14 09:00:00 復元の前\n2024/05/14 08:00:00 統合の前\n"
                                 "2024/05/14 07:00:00 毎日\n2024/05/13 21:00:00 毎日")
                      .toStdString());
        d.lstBackups->selectRow(1);
        ASSERT_TRUE(d.cmdRestore->isEnabled());
        d.cmdRestore->click();
    });
    ASSERT_EQ(env.platform.shown.size(), 1u);
    const QString question = env.platform.shown[0].text;
    EXPECT_TRUE(question.contains(QStringLiteral("統合の前のコピー、2024/05/14 08:00:00")))
        << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("バックアップ: 1セット、最後の記録 2024/05/13")))
        << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("今のファイル: 1セット、最後の記録 2024/05/14")))
        << question.toStdString();
    EXPECT_EQ(ReadBytes(env.layout.dbPath()), before);
}

TEST_F(BackupWindowTest, ADeclinedConfirmationChangesNothing) {
    const QByteArray before = ReadBytes(env.layout.dbPath());
    env.platform.answers = {Answer::No};
    throughWindow([&](BackupWindow& d) { d.cmdRestore->click(); });
    EXPECT_EQ(ReadBytes(env.layout.dbPath()), before);
    EXPECT_TRUE(listed("2024/05/14,01,01,1"));
    EXPECT_EQ(env.platform.shown.size(), 1u);
}

TEST_F(BackupWindowTest, EveryControlHasAnAccessibleName) {
    throughWindow([&](BackupWindow& d) {
        for (QWidget* control :
             std::initializer_list<QWidget*>{d.lstBackups, d.cmdRestore, d.cmdClose})
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
        EXPECT_EQ(d.lstBackups->accessibleName(), d.lblBackups->text());
    });
}

}  // namespace
}  // namespace sorvenka::testing
