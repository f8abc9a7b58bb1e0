// The options of a command, read alike for every command.
#include "cli/command_options.h"

#include <gtest/gtest.h>

namespace sorvenka {
namespace {

struct Case {
    const char* name;
    QStringList words;
    bool ok;
    const char* expected;  // "" when refused; else the values and flags read, as "name=value;..."
};

QString Describe(const ParsedOptions& parsed) {
    QStringList parts;
    for (auto i = parsed.values.cbegin(); i != parsed.values.cend(); ++i)
        parts << i.key() + QLatin1Char('=') + i.value().join(QLatin1Char(' '));
    for (const QString& flag : parsed.flags) parts << flag;
    parts.sort();
    return parts.join(QLatin1Char(';'));
}

TEST(CommandOptions, ValuesFlagsOrderAndTheEndOfOptions) {
    const Case cases[] = {
        {"value and flag", {"--file", "a.csv", "--dry-run"}, true, "--dry-run;--file=a.csv"},
        {"any order",
         {"--dry-run", "--group", "03", "--file", "a"},
         true,
         "--dry-run;--file=a;--group=03"},
        {"value after =", {"--file=--odd.csv"}, true, "--file=--odd.csv"},
        {"a single dash is a value", {"--file", "-"}, true, "--file=-"},
        {"a dash word is a value", {"--file", "-x.csv"}, true, "--file=-x.csv"},
        {"the value after --", {"--file", "--", "--odd.csv"}, true, "--file=--odd.csv"},
        {"options before --", {"--group", "03", "--file", "--", "f"}, true, "--file=f;--group=03"},
        {"an option word is never a value", {"--file", "--dry-run"}, false, ""},
        {"missing value at the end", {"--file"}, false, ""},
        {"missing value after --", {"--file", "--"}, false, ""},
        {"unknown option", {"--file", "a", "--fast"}, false, ""},
        {"twice", {"--file", "a", "--file", "b"}, false, ""},
        {"flag twice", {"--dry-run", "--dry-run"}, false, ""},
        {"flag with a value", {"--dry-run=yes"}, false, ""},
        {"empty value", {"--file", ""}, false, ""},
        {"empty value after =", {"--file="}, false, ""},
        {"stray word", {"--file", "a", "b"}, false, ""},
        {"word left after --", {"--file", "a", "--", "b"}, false, ""},
        {"option after -- is a stray word", {"--", "--dry-run"}, false, ""},
        // An option of several values takes as many words, each of which may follow "--".
        {"two values", {"--into", "01", "05", "--dry-run"}, true, "--dry-run;--into=01 05"},
        {"values split by --", {"--into", "01", "--", "--05"}, true, "--into=01 --05"},
        {"all values after --", {"--into", "--", "01", "05"}, true, "--into=01 05"},
        {"a word left after the values", {"--into", "01", "--", "05", "--file"}, false, ""},
        {"short of a value", {"--into", "01"}, false, ""},
        {"short of a value before an option", {"--into", "01", "--dry-run"}, false, ""},
        {"short of a value after --", {"--into", "01", "--"}, false, ""},
        {"several values never after =", {"--into=01", "05"}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParsedOptions parsed;
        QString reason;
        const bool ok = ParseCommandOptions(
            c.words, {{"--file", 1}, {"--group", 1}, {"--into", 2}, {"--dry-run", 0}}, parsed,
            reason);
        EXPECT_EQ(ok, c.ok) << reason.toStdString();
        if (ok)
            EXPECT_EQ(Describe(parsed).toStdString(), c.expected);
        else
            EXPECT_FALSE(reason.isEmpty());
    }
}

}  // namespace
}  // namespace sorvenka
