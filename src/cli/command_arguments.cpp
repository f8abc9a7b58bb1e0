#include "cli/command_arguments.h"

#include "cli/command_guard.h"

namespace sorvenka {

namespace {

std::vector<const CommandLineCommand*> Family(int (*run)(const QStringList&)) {
    std::vector<const CommandLineCommand*> family;
    for (const CommandLineCommand& command : CommandLineCommands())
        if (command.run == run) family.push_back(&command);
    return family;
}

void AddKnown(std::vector<KnownOption>& known, const char* name, const char* values) {
    const QString word = QString::fromUtf8(name);
    for (const KnownOption& option : known)
        if (option.name == word) return;
    known.push_back({word, ValueNames(values).size()});
}

bool InRow(const CommandLineCommand& command, const QString& name) {
    if (name == QLatin1String(command.name)) return true;
    for (const CommandOption& option : command.options)
        if (name == QLatin1String(option.name)) return true;
    return false;
}

}  // namespace

bool ReadCommandArguments(const QStringList& arguments, int (*run)(const QStringList&),
                          CommandArguments& read, QString& reason) {
    const std::vector<const CommandLineCommand*> family = Family(run);
    std::vector<KnownOption> known;
    for (const CommandLineCommand* command : family) {
        AddKnown(known, command->name, command->values);
        for (const CommandOption& option : command->options)
            AddKnown(known, option.name, option.values);
    }
    read = CommandArguments();
    if (!ParseCommandOptions(arguments.mid(1), known, read.options, reason)) return false;

    QStringList words;
    for (const CommandLineCommand* command : family) {
        words << QString::fromUtf8(command->name);
        if (!read.options.has(words.last())) continue;
        if (read.command != nullptr) {
            reason = QStringLiteral("コマンドは一度に一つだけ指定してください: %1 と %2")
                         .arg(QLatin1String(read.command->name), QLatin1String(command->name));
            return false;
        }
        read.command = command;
    }
    if (read.command == nullptr) {
        reason =
            QStringLiteral("%1 のどれかを指定してください。").arg(words.join(QStringLiteral("、")));
        return false;
    }
    for (const KnownOption& option : known) {
        if (read.options.has(option.name) && !InRow(*read.command, option.name)) {
            reason = QStringLiteral("このコマンドには使えない引数があります: %1").arg(option.name);
            return false;
        }
    }
    for (const CommandOption& option : read.command->options) {
        if (option.required && !read.has(option.name)) {
            reason = QStringLiteral("このコマンドに足りない引数があります: %1")
                         .arg(QLatin1String(option.name));
            return false;
        }
        // The option is refused without its companion, never taken for a request of both.
        if (option.with != nullptr && read.has(option.name) && !read.has(option.with)) {
            reason = QStringLiteral("%1 は %2 と一緒に指定してください。")
                         .arg(QLatin1String(option.name), QLatin1String(option.with));
            return false;
        }
    }
    return true;
}

int RefuseArguments(const QStringList& arguments, int (*run)(const QStringList&),
                    const QString& reason, QTextStream& err) {
    err << reason << '\n' << FamilyUsage(CommandName(arguments), run) << Qt::endl;
    return kCommandUsage;
}

}  // namespace sorvenka
