#include "cli/command_line.h"

#include <QFileInfo>

#include "common/version.h"

namespace sorvenka {

namespace {

const CommandLineCommand* CommandForWord(const QString& word) {
    for (const CommandLineCommand& command : CommandLineCommands()) {
        const QLatin1String name(command.name);
        if (word == name || word.startsWith(name + QLatin1Char('='))) return &command;
    }
    return nullptr;
}

}  // namespace

CommandLineChoice ChooseCommandLine(const QStringList& words) {
    const qsizetype end = words.indexOf(QStringLiteral("--"));
    const QStringList options = end < 0 ? words : words.mid(0, end);
    CommandLineChoice choice;
    if (options.contains(QStringLiteral("--help"))) {
        choice.kind = CommandLineChoice::Kind::Help;
        return choice;
    }
    if (options.contains(QStringLiteral("--version"))) {
        choice.kind = CommandLineChoice::Kind::Version;
        return choice;
    }
    for (const QString& word : options) {
        const CommandLineCommand* command = CommandForWord(word);
        if (command == nullptr) continue;
        if (choice.command != nullptr && choice.command != command) {
            choice.kind = CommandLineChoice::Kind::Usage;
            choice.reason =
                QStringLiteral("コマンドは一度に一つだけ指定してください: %1 と %2")
                    .arg(QLatin1String(choice.command->name), QLatin1String(command->name));
            return choice;
        }
        choice.command = command;
    }
    if (choice.command != nullptr) {
        choice.kind = CommandLineChoice::Kind::Command;
        return choice;
    }
    for (const QString& word : options) {
        if (word.startsWith(QLatin1String("--"))) {
            choice.kind = CommandLineChoice::Kind::Usage;
            choice.reason =
                QStringLiteral("不明なオプションか、コマンドのないオプションです: %1").arg(word);
            return choice;
        }
    }
    if (end >= 0) {
        choice.kind = CommandLineChoice::Kind::Usage;
        choice.reason = QStringLiteral("ウィンドウはファイル名などの引数をとりません。");
    }
    return choice;
}

QString CommandLineHelp(const QString& name) {
    QString text = QStringLiteral("使い方:\n  %1\n      ウィンドウを開きます。\n").arg(name);
    for (const CommandLineCommand& command : CommandLineCommands())
        text += QStringLiteral("  %1 %2\n").arg(name, CommandUsage(command));
    text += QStringLiteral(
                "  %1 --help | --version\n"
                "\n"
                "オプションの順序は自由です。-- で始まる語はファイル名になりません。\n"
                "そのような名前は ./--name か、-- の後に書きます（-- より後はすべて値です）。\n"
                "コマンドはプログラムのフォルダ構成のデータベースに働き、ウィンドウが\n"
                "開いている間は断られます。\n"
                "終了ステータス: 0 成功、1 失敗（理由は標準エラー出力）、2 引数の誤り。\n"
                "詳しくは man sorvenka を見てください。\n")
                .arg(name);
    return text;
}

QString CommandLineVersion() {
    return QStringLiteral("Sorvenka ") + versionText() + QLatin1Char('\n');
}

QString CommandLineName(const char* argv0) {
    const QString launcher = qEnvironmentVariable("SORVENKA_COMMAND_NAME");
    if (!launcher.isEmpty()) return launcher;
    const QString name = QFileInfo(QString::fromLocal8Bit(argv0 ? argv0 : "")).fileName();
    return name.isEmpty() ? QStringLiteral("Valdrome") : name;
}

}  // namespace sorvenka
