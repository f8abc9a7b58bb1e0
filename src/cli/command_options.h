#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <initializer_list>

namespace sorvenka {

// One option a command understands: "--group" with a value, "--dry-run" without.
struct KnownOption {
    const char* name;
    bool takesValue;
};

// The options of one command line as read by ParseCommandOptions.
struct ParsedOptions {
    QHash<QString, QString> values;  // options with a value, by name
    QSet<QString> flags;             // options without a value that were given

    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    QString value(const QString& name) const { return values.value(name); }
};

// Reads the words after the program's name, in any order, the same way for every command:
// - an option's value is the next word, or follows "=" (--group=03);
// - a word that starts with "--" is never a value, so "--export-csv --dry-run" lacks its file;
// - a lone "--" ends the options: the words after it are values, in order, for the options
//   before it that still lack one (--import-csv -- --odd-name.csv);
// - an unknown option, an option given twice, an empty value or a word left over is refused.
// False with a Japanese reason naming the word.
bool ParseCommandOptions(const QStringList& words, std::initializer_list<KnownOption> known,
                         ParsedOptions& parsed, QString& reason);

}  // namespace sorvenka
