// The manual page filled from the command table, and the templates that would let it drift.
#include "cli/manual_page.h"

#include <gtest/gtest.h>

#include "cli/command_table.h"

namespace sorvenka {
namespace {

// A template with every mark the table asks for, and what the test takes out or adds.
QString Template(const QString& left, const QString& added = QString()) {
    QStringList lines{QStringLiteral(".SH SYNOPSIS"), QStringLiteral("@SYNOPSIS@")};
    for (const CommandLineCommand& command : CommandLineCommands()) {
        lines << QStringLiteral("@COMMAND %1@").arg(QLatin1String(command.name))
              << QStringLiteral("Prose.");
        if (!command.options.empty())
            lines << QStringLiteral("@OPTIONS %1@").arg(QLatin1String(command.name));
    }
    lines.removeAll(left);
    if (!added.isEmpty()) lines << added;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

TEST(ManualPage, EveryCommandOnceWithItsOptions) {
    const struct {
        const char* name;
        QString pageTemplate;
        bool ok;
    } cases[] = {
        {"complete", Template(QString()), true},
        {"no synopsis", Template(QStringLiteral("@SYNOPSIS@")), false},
        {"a command without entry", Template(QStringLiteral("@COMMAND --plan@")), false},
        {"options left out", Template(QStringLiteral("@OPTIONS --import-csv@")), false},
        {"an entry twice", Template(QString(), QStringLiteral("@COMMAND --plan@")), false},
        {"options of a command without any",
         Template(QString(), QStringLiteral("@OPTIONS --check-database@")), false},
        {"a mark of no command", Template(QString(), QStringLiteral("@COMMAND --fast@")), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString page, reason;
        EXPECT_EQ(FillManualPage(c.pageTemplate, page, reason), c.ok) << reason.toStdString();
        if (c.ok) {
            EXPECT_FALSE(page.contains(QLatin1Char('@'))) << page.toStdString();
        } else {
            EXPECT_FALSE(reason.isEmpty());
        }
    }
}

// Option words are minus signs in roff; values of small letters are typed as they stand,
// the others stand for what the user gives; an option's companion comes with it.
TEST(ManualPage, WordsValuesAndCompanionsInTheirFonts) {
    QString page, reason;
    ASSERT_TRUE(FillManualPage(Template(QString()), page, reason)) << reason.toStdString();
    for (
        const char* expected :
        {R"(\fBsorvenka\fR \fB\-\-import\-csv\fR \fIFILE\fR|\fB\-\fR [\fB\-\-group\fR \fICODE\fR])",
         R"([\fB\-\-unit\fR \fBkg\fR|\fBlb\fR])",
         R"([\fB\-\-dry\-run\fR \fB\-\-write\-map\fR \fIFILE\fR])",
         R"(\-\-merge\-exercise\fR \fIGRP\fR \fIEXER\fR \fB\-\-into\fR \fIGRP\fR \fIEXER\fR [)",
         ".TP\n\\fB\\-\\-write\\-map\\fR \\fIFILE\\fR\nwith \\fB\\-\\-dry\\-run\\fR: writes",
         "given to \\-\\-map;"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected;
}

}  // namespace
}  // namespace sorvenka
