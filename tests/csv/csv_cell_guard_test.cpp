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

// A spreadsheet that splits on ";" starts a cell after each one; a NUL cannot stand in the
// file. Both are written so that the import gets back exactly what was stored.
TEST(CsvCellGuard, GuardsAfterEverySemicolonAndEscapesNul) {
    struct Case {
        QByteArray stored;
        QByteArray written;
    };
    const Case cases[] = {
        {"1;=1+1", "1;'=1+1"},
        {"a;b", "a;b"},  // nothing to guard
        {"a;'=1", "a;''=1"},
        {"=a;-b;c;@d", "'=a;'-b;c;'@d"},
        {";+1", ";'+1"},
        {"a;", "a;"},
        {"a; =1", "a; =1"},
        {"a;;=1", "a;;'=1"},
        {"a;\t=1", "a;'\t=1"},
        {QByteArray("a\0b", 3), "a\\0b"},
        {QByteArray("\0", 1), "\\0"},
        {QByteArray("\0\0", 2), "\\0\\0"},
        {"\\0", "\\\\0"},  // a backslash before a 0 of the user's own
        {"\\\\0", "\\\\\\\\0"},
        {QByteArray("\\\0", 2), "\\\\\\0"},  // a backslash before a NUL
        {QByteArray("\\\\\0", 3), "\\\\\\\\\\0"},
        {"C:\\temp\\", "C:\\temp\\"},  // backslashes before anything else stay
        {"\\", "\\"},
        {"0\\", "0\\"},
        {QByteArray("=\0;-\\0", 6), "'=\\0;'-\\\\0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toPercentEncoding().toStdString());
        EXPECT_EQ(NeedsFormulaGuard(c.stored.constData(), c.stored.size()), c.written != c.stored);
        const QByteArray written = GuardedCellText(c.stored.constData(), c.stored.size());
        EXPECT_EQ(written, c.written);
        EXPECT_FALSE(written.contains('\0'));
        CsvField read = written;
        RemoveFormulaGuard(read);
        EXPECT_EQ(read, CsvField(c.stored));
    }
}

}  // namespace
}  // namespace sorvenka
