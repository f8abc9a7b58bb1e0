#pragma once

#include <QString>
#include <optional>

#include "routines/routine_model.h"

namespace sorvenka {

// The plates and the warm-up scheme as the user types them in one line.

// 「25×4, 20×1, 1.25×2」: weight × pairs, heaviest first once read; "x" and "*" serve as "×", "、"
// as ",". Nothing when a part is not a positive weight with a pair count of 1 or more.
std::optional<std::vector<PlatePair>> ParsePlatePairs(const QString& text);
QString PlatePairsText(const std::vector<PlatePair>& plates);

// 「0×10, 40×5, 60×3, 80×2」: percent of the working load × repetitions, 0 for the bar alone.
// Percents from 0 to 99, repetitions 1 or more; an empty text is a scheme without warm-ups.
std::optional<WarmupScheme> ParseWarmup(const QString& text);
QString WarmupText(const WarmupScheme& scheme);

}  // namespace sorvenka
