#include "backups/integrity.h"

#include <gtest/gtest.h>

#include <QDir>

#include "startup/test_files.h"
#include "support/damaged_database.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

// The fixture itself: a damaged index that only the full check sees. A copy verified with
// the quick check would pass it.
TEST(DamagedIndexFixture, OnlyTheFullCheckSeesIt) {
    TempLayout layout;
    ASSERT_TRUE(DamagePrimaryKeyIndex(layout.dbPath()));
    EXPECT_EQ(PragmaAnswer(layout.dbPath(), "quick_check"), QStringLiteral("ok"));
    EXPECT_TRUE(PragmaAnswer(layout.dbPath(), "integrity_check")
                    .contains(QStringLiteral("missing from index")))
        << PragmaAnswer(layout.dbPath(), "integrity_check").toStdString();
}

TEST(CheckIntegrity, VerdictByFile) {
    struct Case {
        const char* name;
        std::function<void(const TempLayout&)> prepare;
        Integrity verdict;
    };
    const std::vector<Case> cases{
        {"the first database", [](const TempLayout&) {}, Integrity::Sound},
        {"a damaged index",
         [](const TempLayout& l) { ASSERT_TRUE(DamagePrimaryKeyIndex(l.dbPath())); },
         Integrity::Damaged},
        {"not a database",
         [](const TempLayout& l) { ASSERT_TRUE(WriteBytes(l.dbPath(), QByteArray(8192, 'x'))); },
         Integrity::Damaged},
        {"a b-tree page of an unknown type",
         [](const TempLayout& l) {
             QByteArray bytes = ReadBytes(l.dbPath());
             const int pageSize = (uchar(bytes[16]) << 8) | uchar(bytes[17]);
             bytes[pageSize] = '\x7f';
             ASSERT_TRUE(WriteBytes(l.dbPath(), bytes));
         },
         Integrity::Damaged},
        // An empty file opens as an empty database: it is no database of this program.
        {"an empty file", [](const TempLayout& l) { ASSERT_TRUE(WriteBytes(l.dbPath(), "")); },
         Integrity::Unreadable},
        {"no file", [](const TempLayout& l) { ASSERT_TRUE(QFile::remove(l.dbPath())); },
         Integrity::Unreadable},
        {"a folder in its place",
         [](const TempLayout& l) {
             ASSERT_TRUE(QFile::remove(l.dbPath()));
             ASSERT_TRUE(QDir().mkdir(l.dbPath()));
         },
         Integrity::Unreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempLayout layout;
        c.prepare(layout);
        const IntegrityReport report = CheckIntegrity(layout.dbPath());
        EXPECT_EQ(report.verdict, c.verdict);
        if (c.verdict == Integrity::Damaged) {
            EXPECT_FALSE(report.firstProblem.isEmpty());
        }
    }
}

TEST(CheckIntegrity, NeverCreatesTheFile) {
    TempLayout layout(false);
    EXPECT_EQ(CheckIntegrity(layout.dbPath()).verdict, Integrity::Unreadable);
    EXPECT_FALSE(QFile::exists(layout.dbPath()));
}

}  // namespace
}  // namespace sorvenka::testing
