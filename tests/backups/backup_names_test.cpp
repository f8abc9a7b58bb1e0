#include "backups/backup_names.h"

#include <gtest/gtest.h>

namespace sorvenka::testing {
namespace {

// A copy's name is exactly its form: nothing before or after it, not even a line end, and a
// real date and time in it.
TEST(BackupNames, OnlyTheExactFormsWithRealMomentsAreCopies) {
    struct Case {
        const char* name;
        bool daily;
        bool copy;
        CopyKind kind;
    };
    const Case cases[] = {
        {"exercise_2024_0514-0930_15.sqlite3", true, true, CopyKind::Daily},
        {"exercise_2024_0514-0930_15.sqlite3\n", false, false, CopyKind::Daily},
        {"exercise_2024_0514-0930_15.sqlite3\r\n", false, false, CopyKind::Daily},
        {"\nexercise_2024_0514-0930_15.sqlite3", false, false, CopyKind::Daily},
        {"exercise_2024_0514-0930_15.sqlite3 ", false, false, CopyKind::Daily},
        {"exercise_2024_0514-0930_15.sqlite3-journal", false, false, CopyKind::Daily},
        {"x/exercise_2024_0514-0930_15.sqlite3", false, false, CopyKind::Daily},
        {"exercise_2024_0230-0930_15.sqlite3", false, false, CopyKind::Daily},
        {"exercise_2024_0514-2460_15.sqlite3", false, false, CopyKind::Daily},
        {"exercise_２０２４_0514-0930_15.sqlite3", false, false, CopyKind::Daily},
        {"merge_exercise_20240514-093015.sqlite3", false, true, CopyKind::BeforeMerge},
        {"merge_exercise_20240514-093015-12.sqlite3", false, true, CopyKind::BeforeMerge},
        {"merge_exercise_20240514-093015.sqlite3\n", false, false, CopyKind::Daily},
        {"import_exercise_20240514-093015-2.sqlite3", false, true, CopyKind::BeforeImport},
        {"exercise_before_restore_2024_0514-0930_15.sqlite3", false, true, CopyKind::BeforeRestore},
        {"exercise_before_restore_2024_0514-0930_15_2.sqlite3", false, true,
         CopyKind::BeforeRestore},
        {"exercise_damaged_2024_0514-0930_15.sqlite3", false, false, CopyKind::Daily},
        {"exercise.sqlite3", false, false, CopyKind::Daily},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsBackupName(name), c.daily);
        CopyKind kind = CopyKind::Daily;
        QDateTime taken;
        EXPECT_EQ(ParseCopyName(name, kind, taken), c.copy);
        if (!c.copy) continue;
        EXPECT_EQ(kind, c.kind);
        EXPECT_EQ(taken, QDateTime(QDate(2024, 5, 14), QTime(9, 30, 15)));
    }
}

}  // namespace
}  // namespace sorvenka::testing
