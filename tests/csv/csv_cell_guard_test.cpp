// Texts that a spreadsheet would run as formulas: guarded on the way out, unguarded by
// Sorvenka's own import, so that every text comes back as it was.
#include "csv/csv_cell_guard.h"

#include <gtest/gtest.h>

namespace sorvenka {
namespace {

TEST(CsvCellGuard, GuardsFormulaStartsAndTakesExactlyTheGuardOff) {
    struct Case {
        QByteArray stored;
        bool guarded;
    };
    const Case cases[] = {
        {"=1+1", true},
        {"=cmd|' /C calc'!A0", true},
        {"+81 90", true},
        {"-5", true},
        {"@SUM(A1)", true},
        {"\t=1", true},
        {"\r=1", true},
        {"'=1", true},   // an apostrophe of the user's own before a formula start
        {"''-1", true},  // and two
        {"'", false},
        {"''", false},
        {"'plain", false},
        {"' =1", false},
        {"plain", false},
        {" =1", false},
        {"a=1", false},
        {"", false},
        {"\n=1", false},
        {"＝1", false},  // a full-width sign is text to a spreadsheet
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        EXPECT_EQ(NeedsFormulaGuard(c.stored.constData(), c.stored.size()), c.guarded);
        const QByteArray written =
            c.guarded ? GuardedCellText(c.stored.constData(), c.stored.size()) : c.stored;
        if (c.guarded) {
            EXPECT_EQ(written, "'" + c.stored);
        }
        CsvField read = written;
        RemoveFormulaGuard(read);
        EXPECT_EQ(read, CsvField(c.stored));  // the round trip loses nothing
    }
    CsvField absent;
    RemoveFormulaGuard(absent);
    EXPECT_FALSE(absent.has_value());
}

}  // namespace
}  // namespace sorvenka
