#include "cli/command_options.h"

#include <algorithm>
#include <vector>

namespace sorvenka {

namespace {

const KnownOption* FindOption(std::initializer_list<KnownOption> known, const QString& name) {
    for (const KnownOption& option : known)
        if (name == QLatin1String(option.name)) return &option;
    return nullptr;
}

bool IsOptionWord(const QString& word) {
    return word.startsWith(QLatin1String("--"));
}

}  // namespace

bool ParseCommandOptions(const QStringList& words, std::initializer_list<KnownOption> known,
                         ParsedOptions& parsed, QString& reason) {
    parsed = ParsedOptions();
    std::vector<QString> lacking;  // options whose value follows "--"
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
        if (!option->takesValue) {
            if (equals >= 0) {
                reason = QStringLiteral("%1 は値をとりません: %2").arg(name, word);
                return false;
            }
            parsed.flags.insert(name);
            continue;
        }
        if (equals >= 0) {
            parsed.values.insert(name, word.mid(equals + 1));
        } else if (i + 1 < words.size() && words[i + 1] == QLatin1String("--")) {
            lacking.push_back(name);
        } else if (i + 1 < words.size() && !IsOptionWord(words[i + 1])) {
            parsed.values.insert(name, words[++i]);
        } else {
            // A following "--word" is the next option, never this one's value.
            reason = QStringLiteral("%1 の値がありません。").arg(name);
            return false;
        }
    }
    for (const QString& name : lacking) {
        if (i >= words.size()) {
            reason = QStringLiteral("%1 の値がありません。").arg(name);
            return false;
        }
        parsed.values.insert(name, words[i++]);
    }
    if (i < words.size()) {
        reason = QStringLiteral("余分な引数です: %1").arg(words[i]);
        return false;
    }
    for (auto value = parsed.values.cbegin(); value != parsed.values.cend(); ++value) {
        if (value->isEmpty()) {
            reason = QStringLiteral("%1 の値が空です。").arg(value.key());
            return false;
        }
    }
    return true;
}

}  // namespace sorvenka
