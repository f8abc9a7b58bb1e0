#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "routines/routine_model.h"

namespace sorvenka {

// The plates on one side of the bar for a load, heaviest first.
struct BarLoad {
    double total = 0;
    std::vector<double> perSide;
};

// Whether a load can be put on the bar, and the nearest loads that can when it cannot.
struct LoadFit {
    bool loadable = false;
    BarLoad exact;                 // when loadable
    std::optional<BarLoad> below;  // the nearest loadable load below (none under the bar)
    std::optional<BarLoad> above;  // the nearest loadable load above (none over the inventory)
};

// Plates come in pairs, one plate of a pair per side; the fewest plates are chosen.
LoadFit FitLoad(const PlateInventory& plates, double load);

// The loadable load nearest to `load` within `rounding` (down first when both are as near);
// the load itself when no loadable load lies that close.
double RoundToLoadable(const PlateInventory& plates, double load, double rounding);

// 「バー20kg + 片側 20・10・2.5」, 「バー20kg」 for the bar alone.
QString PlatesText(const PlateInventory& plates, const BarLoad& load);
// 「82kg は作れません(下 80kg: バー20kg + 片側 25・5 / 上 82.5kg: …)」 or the plates text.
QString FitText(const PlateInventory& plates, double load, const LoadFit& fit);

// One warm-up row before the first working set; never a working set.
struct WarmupRow {
    double load = 0;
    int reps = 0;
    BarLoad plates;
    QString platesText;
};

// The ramp of the scheme up to the working load, each row a loadable load at or below its
// share, where successive rows (and the last row to the working load) change as few plates as
// the inventory allows.
std::vector<WarmupRow> WarmupRamp(const PlateInventory& plates, const WarmupScheme& scheme,
                                  double workingLoad);

// Plates put on or taken off one side from one loading to the next.
int PlateChanges(const std::vector<double>& from, const std::vector<double>& to);

}  // namespace sorvenka
