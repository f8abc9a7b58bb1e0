#include "last_session/session_set.h"

#include <sqlite3.h>

#include <QStringList>
#include <cmath>

#include "db/cell_text.h"
#include "db/prepared_statement.h"
#include "progress/progress_math.h"
#include "progress/progress_texts.h"
#include "progress/set_numbers.h"

namespace sorvenka {

namespace {

QString TextOf(const PreparedStatement& s, int column) {
    return s.columnType(column) == SQLITE_NULL ? QString() : s.columnText(column);
}

// The load units the figures know, shared texts that cost no allocation.
QString KnownLoadUnit(std::string_view unit) {
    if (unit == "kg") return QStringLiteral("kg");
    if (unit == "lb") return QStringLiteral("lb");
    if (unit == "km") return QStringLiteral("km");
    if (unit == "m") return QStringLiteral("m");
    return QString();
}

void ReadNumbers(const PreparedStatement& s, int c, SessionSet& set) {
    switch (s.columnType(c + 4)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
            const double load = s.columnDouble(c + 4);
            // An infinity (1e9999), NaN or a negative load says nothing about strength.
            if (std::isfinite(load) && load >= 0)
                set.load = load;
            else
                set.notANumber = true;
            break;
        }
        case SQLITE_NULL:
            break;
        default:
            set.notANumber = true;
    }
    set.count = StoredWholeNumber(s, c + 6, set.notANumber);
    set.minutes = StoredWholeNumber(s, c + 8, set.notANumber);
    set.seconds = StoredWholeNumber(s, c + 9, set.notANumber);
}

}  // namespace

SessionSet ReadSessionNumbers(const PreparedStatement& s, int c) {
    SessionSet set;
    ReadNumbers(s, c, set);
    set.loadUnit = KnownLoadUnit(s.bytes(c + 5));
    return set;
}

SessionSet ReadSessionSet(const PreparedStatement& s, int c) {
    SessionSet set;
    set.ymd = TextOf(s, c);
    set.setNum = static_cast<int>(s.columnInt(c + 1));
    set.start = TextOf(s, c + 2);
    set.finish = TextOf(s, c + 3);
    ReadNumbers(s, c, set);
    const int loadType = s.columnType(c + 4);
    if (loadType == SQLITE_INTEGER || loadType == SQLITE_FLOAT)
        set.loadText = FloatCellText(s.columnDouble(c + 4));
    else if (loadType != SQLITE_NULL)
        set.loadText = s.columnText(c + 4);
    set.loadUnit = TextOf(s, c + 5);
    set.countUnit = TextOf(s, c + 7);
    return set;
}

std::optional<qint64> SessionSet::durationSeconds() const {
    if (!isDuration()) return std::nullopt;
    return minutes.value_or(0) * 60 + seconds.value_or(0);
}

std::optional<double> SessionSet::kg() const {
    if (notANumber || !load || !(*load > 0)) return std::nullopt;
    return LoadInKg(*load, loadUnit);
}

std::optional<double> SessionSet::km() const {
    if (notANumber || !load || !(*load > 0)) return std::nullopt;
    if (loadUnit == QStringLiteral("km")) return *load;
    if (loadUnit == QStringLiteral("m")) return *load / 1000.0;
    return std::nullopt;
}

std::optional<double> SessionSet::estimatedMaxKg() const {
    const std::optional<double> loadKg = kg();
    if (!loadKg || !count || *count > kMostRepsForEstimate) return std::nullopt;
    return EstimatedOneRepMax(*loadKg, static_cast<int>(*count));
}

std::optional<double> SessionSet::paceSecondsPerKm() const {
    const std::optional<double> distance = km();
    const std::optional<qint64> duration = durationSeconds();
    if (!distance || !duration || *duration <= 0) return std::nullopt;
    return static_cast<double>(*duration) / *distance;
}

QString SetValuesText(const SessionSet& set) {
    QStringList parts;
    const bool hasLoad = !set.loadText.isEmpty() && set.loadText != QStringLiteral("0");
    if (hasLoad) parts << set.loadText + QLatin1Char(' ') + set.loadUnit;
    if (set.count) {
        const QString reps = QString::number(*set.count) + set.countUnit;
        if (hasLoad)
            parts.last() += QStringLiteral(" × ") + reps;
        else
            parts << reps;
    } else if (const auto duration = set.durationSeconds()) {
        parts << FormatDuration(static_cast<int>(*duration));
    }
    return parts.join(QLatin1Char(' '));
}

}  // namespace sorvenka
