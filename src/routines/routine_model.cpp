#include "routines/routine_model.h"

namespace sorvenka {

PlateInventory DefaultPlates(const QString& unit) {
    if (unit == QStringLiteral("lb"))
        return {QStringLiteral("lb"), 45, {{45, 4}, {35, 1}, {25, 1}, {10, 2}, {5, 1}, {2.5, 1}}};
    return {QStringLiteral("kg"),
            20,
            {{25, 2}, {20, 2}, {15, 1}, {10, 2}, {5, 2}, {2.5, 2}, {1.25, 1}}};
}

WarmupScheme DefaultWarmup() {
    return {{{0, 10}, {40, 5}, {60, 3}, {80, 2}}};
}

}  // namespace sorvenka
