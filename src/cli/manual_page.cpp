#include "cli/manual_page.h"

#include <QRegularExpression>

#include "cli/command_table.h"

namespace sorvenka {

namespace {

// roff prints "-" as a hyphen; an option's dashes are minus signs, written \-.
QString Dashes(QString text) {
    return text.replace(QLatin1Char('-'), QStringLiteral("\\-"));
}

QString Bold(const QString& text) {
    return QStringLiteral("\\fB") + Dashes(text) + QStringLiteral("\\fR");
}

// A value name of small letters (kg, -) is typed as it stands; others (FILE, yyyy/mm/dd)
// stand for what the user gives.
QString Values(const char* values) {
    static const QRegularExpression typed(QStringLiteral("^[a-z-]+$"));
    QStringList names;
    for (const QString& name : ValueNames(values)) {
        QStringList choices;
        for (const QString& choice : name.split(QLatin1Char('|')))
            choices << (typed.match(choice).hasMatch()
                            ? Bold(choice)
                            : QStringLiteral("\\fI") + choice + QStringLiteral("\\fR"));
        names << choices.join(QLatin1Char('|'));
    }
    return names.join(QLatin1Char(' '));
}

QString Word(const char* word) {
    return Bold(QString::fromUtf8(word));
}

const UsageDress kRoff{&Word, &Values};

QString SynopsisLine(const CommandLineCommand& command) {
    return Bold(QStringLiteral("sorvenka")) + QLatin1Char(' ') + CommandUsage(command, kRoff);
}

// A description's option words are minus signs; its other hyphens stay hyphens.
QString Description(const char* text) {
    QStringList words = QString::fromUtf8(text).split(QLatin1Char(' '));
    for (QString& word : words)
        if (word.startsWith(QLatin1Char('-'))) word = Dashes(word);
    return words.join(QLatin1Char(' '));
}

QString OptionList(const CommandLineCommand& command) {
    QString list = QStringLiteral(".RS\n");
    for (const CommandOption& option : command.options) {
        list += QStringLiteral(".TP\n") + kRoff.withValues(option.name, option.values) + '\n';
        if (option.with != nullptr)
            list += QStringLiteral("with ") + Word(option.with) + QStringLiteral(": ");
        list += Description(option.description) + '\n';
    }
    return list + QStringLiteral(".RE");
}

const CommandLineCommand* CommandNamed(const QString& name) {
    for (const CommandLineCommand& command : CommandLineCommands())
        if (name == QLatin1String(command.name)) return &command;
    return nullptr;
}

}  // namespace

bool FillManualPage(const QString& pageTemplate, QString& page, QString& reason) {
    static const QRegularExpression mark(QStringLiteral("^@(SYNOPSIS|COMMAND|OPTIONS)( \\S+)?@$"),
                                         QRegularExpression::MultilineOption);
    QStringList headed, listed;
    bool synopsis = false;
    page.clear();
    qsizetype done = 0;
    for (auto found = mark.globalMatch(pageTemplate); found.hasNext();) {
        const QRegularExpressionMatch match = found.next();
        page += pageTemplate.mid(done, match.capturedStart() - done);
        done = match.capturedEnd();
        const QString kind = match.captured(1);
        const QString name = match.captured(2).trimmed();
        if (kind == QLatin1String("SYNOPSIS")) {
            QStringList lines;
            for (const CommandLineCommand& command : CommandLineCommands())
                lines << SynopsisLine(command);
            page += lines.join(QStringLiteral("\n.br\n"));
            synopsis = true;
            continue;
        }
        const CommandLineCommand* command = CommandNamed(name);
        if (command == nullptr) {
            reason = QStringLiteral("no command of the table: ") + match.captured();
            return false;
        }
        if (kind == QLatin1String("COMMAND")) {
            headed << name;
            page += QStringLiteral(".TP\n") + kRoff.withValues(command->name, command->values);
        } else {
            listed << name;
            page += OptionList(*command);
        }
    }
    page += pageTemplate.mid(done);
    if (!synopsis) {
        reason = QStringLiteral("the page has no @SYNOPSIS@");
        return false;
    }
    for (const CommandLineCommand& command : CommandLineCommands()) {
        const QString name = QString::fromUtf8(command.name);
        if (headed.count(name) != 1 || listed.count(name) != (command.options.empty() ? 0 : 1)) {
            reason =
                QStringLiteral("the page does not describe %1 once, with its options").arg(name);
            return false;
        }
    }
    return true;
}

}  // namespace sorvenka
