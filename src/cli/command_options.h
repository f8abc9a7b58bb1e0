#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

namespace sorvenka {

// One option a command understands: "--group" with one value, "--into" with two, "--dry-run"
// without.
struct KnownOption {
    QString name;
    qsizetype values;
};

// The options of one command line as read by ParseCommandOptions.
struct ParsedOptions {
    QHash<QString, QStringList> values;  // options with values, by name
    QSet<QString> flags;                 // options without a value that were given

    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    // The first (or only) value.
    QString value(const QString& name) const { return values.value(name).value(0); }
    QStringList valueList(const QString& name) const { return values.value(name); }
};

// Reads the words after the program's name, in any order, the same way for every command:
// - an option's values are the next words, or a single value follows "=" (--group=03);
// - a word that starts with "--" is never a value, so "--export-csv --dry-run" lacks its file;
// - a lone "--" ends the options: the words after it are values, in order, for the options
//   before it that still lack them (--import-csv -- --odd-name.csv);
// - an unknown option, an option given twice, an empty value or a word left over is refused.
// False with a Japanese reason naming the word.
bool ParseCommandOptions(const QStringList& words, const std::vector<KnownOption>& known,
                         ParsedOptions& parsed, QString& reason);

}  // namespace sorvenka
