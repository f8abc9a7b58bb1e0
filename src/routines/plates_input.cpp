#include "routines/plates_input.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#include "routines/progression.h"

namespace sorvenka {

namespace {

// The parts of a line, each split at its "×" into two numbers' texts.
std::optional<std::vector<std::pair<QString, QString>>> Parts(const QString& text) {
    QString normalized = text;
    normalized.replace(QChar(0x3001), QLatin1Char(','));  // 、
    normalized.replace(QChar(0xFF0C), QLatin1Char(','));  // ，
    std::vector<std::pair<QString, QString>> parts;
    for (const QString& raw : normalized.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString part = raw.trimmed();
        if (part.isEmpty()) continue;
        const QStringList halves = part.split(QRegularExpression(QStringLiteral("[×xX*]")));
        if (halves.size() != 2) return std::nullopt;
        parts.emplace_back(halves[0].trimmed(), halves[1].trimmed());
    }
    return parts;
}

}  // namespace

std::optional<std::vector<PlatePair>> ParsePlatePairs(const QString& text) {
    const auto parts = Parts(text);
    if (!parts) return std::nullopt;
    std::vector<PlatePair> plates;
    for (const auto& [weightText, pairsText] : *parts) {
        bool weightOk = false, pairsOk = false;
        const double weight = weightText.toDouble(&weightOk);
        const int pairs = pairsText.toInt(&pairsOk);
        if (!weightOk || !pairsOk || !(weight > 0) || weight > 1000 || pairs < 1 || pairs > 99)
            return std::nullopt;
        plates.push_back({weight, pairs});
    }
    std::stable_sort(plates.begin(), plates.end(),
                     [](const PlatePair& a, const PlatePair& b) { return a.weight > b.weight; });
    return plates;
}

QString PlatePairsText(const std::vector<PlatePair>& plates) {
    QStringList parts;
    for (const PlatePair& p : plates)
        parts << LoadText(p.weight) + QStringLiteral("×") + QString::number(p.pairs);
    return parts.join(QStringLiteral(", "));
}

std::optional<WarmupScheme> ParseWarmup(const QString& text) {
    const auto parts = Parts(text);
    if (!parts) return std::nullopt;
    WarmupScheme scheme;
    for (const auto& [percentText, repsText] : *parts) {
        bool percentOk = false, repsOk = false;
        const int percent = percentText.toInt(&percentOk);
        const int reps = repsText.toInt(&repsOk);
        if (!percentOk || !repsOk || percent < 0 || percent > 99 || reps < 1 || reps > 999)
            return std::nullopt;
        scheme.steps.push_back({percent, reps});
    }
    return scheme;
}

QString WarmupText(const WarmupScheme& scheme) {
    QStringList parts;
    for (const WarmupStep& s : scheme.steps)
        parts << QString::number(s.percent) + QStringLiteral("×") + QString::number(s.reps);
    return parts.join(QStringLiteral(", "));
}

}  // namespace sorvenka
