#include "cli/command_options.h"

#include <algorithm>

namespace sorvenka {

namespace {

const KnownOption* FindOption(const std::vector<KnownOption>& known, const QString& name) {
    for (const KnownOption& option : known)
        if (name == option.name) return &option;
    return nullptr;
}

bool IsOptionWord(const QString& word) {
    return word.startsWith(QLatin1String("--"));
}

}  // namespace

bool ParseCommandOptions(const QStringList& words, const std::vector<KnownOption>& known,
                         ParsedOptions& parsed, QString& reason) {
    parsed = ParsedOptions();
    std::vector<QString> lacking;  // an option once for each value that follows "--"
    qsizetype i = 0;
    for (; i < words.size(); ++i) {
        const QString& word = words[i];
        if (word == QLatin1String("--")) {
            ++i;
            break;
        }
        if (!IsOptionWord(word)) {
            reason = QStringLiteral("余分な引数です: %1").arg(word);
            return false;
        }
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? word : word.left(equals);
        const KnownOption* option = FindOption(known, name);
        if (option == nullptr) {
            reason = QStringLiteral("不明なオプションです: %1").arg(word);
            return false;
        }
        if (parsed.has(name) || std::find(lacking.begin(), lacking.end(), name) != lacking.end()) {
            reason = QStringLiteral("%1 が2回指定されています。").arg(name);
            return false;
        }
        if (option->values == 0) {
            if (equals >= 0) {
                reason = QStringLiteral("%1 は値をとりません: %2").arg(name, word);
                return false;
            }
            parsed.flags.insert(name);
            continue;
        }
        if (equals >= 0) {
            if (option->values != 1) {
                reason = QStringLiteral("%1 の値は = の後に書けません: %2").arg(name, word);
                return false;
            }
            parsed.values.insert(name, {word.mid(equals + 1)});
            continue;
        }
        QStringList& values = parsed.values[name];
        while (values.size() < option->values) {
            if (i + 1 < words.size() && words[i + 1] == QLatin1String("--")) {
                lacking.insert(lacking.end(), option->values - values.size(), name);
                break;
            }
            // A following "--word" is the next option, never this one's value.
            if (i + 1 >= words.size() || IsOptionWord(words[i + 1])) {
                reason = QStringLiteral("%1 の値がありません。").arg(name);
                return false;
            }
            values << words[++i];
        }
    }
    for (const QString& name : lacking) {
        if (i >= words.size()) {
            reason = QStringLiteral("%1 の値がありません。").arg(name);
            return false;
        }
        parsed.values[name] << words[i++];
    }
    if (i < words.size()) {
        reason = QStringLiteral("余分な引数です: %1").arg(words[i]);
        return false;
    }
    for (auto value = parsed.values.cbegin(); value != parsed.values.cend(); ++value) {
        if (value->contains(QString())) {
            reason = QStringLiteral("%1 の値が空です。").arg(value.key());
            return false;
        }
    }
    return true;
}

}  // namespace sorvenka
