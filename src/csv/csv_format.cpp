#include "csv/csv_format.h"

namespace sorvenka {

namespace {

QString HeaderKey(const QString& name) {
    return name.trimmed().toLower();
}

}  // namespace

QString CsvFormatName(CsvFormat format) {
    switch (format) {
        case CsvFormat::Sorvenka:
            return QStringLiteral("Sorvenka");
        case CsvFormat::StrongComma:
            return QStringLiteral("Strong");
        case CsvFormat::StrongSemicolon:
            return QStringLiteral("Strong（セミコロン区切り、単位の列あり）");
        case CsvFormat::Hevy:
            return QStringLiteral("Hevy");
        case CsvFormat::FitNotes:
            return QStringLiteral("FitNotes");
        case CsvFormat::Unknown:
            break;
    }
    return QStringLiteral("不明");
}

const QStringList& SorvenkaCsvColumns() {
    static const QStringList columns{
        QStringLiteral("ymd"),      QStringLiteral("grp_cd"),  QStringLiteral("exer_cd"),
        QStringLiteral("set_num"),  QStringLiteral("hms_sta"), QStringLiteral("hms_end"),
        QStringLiteral("target"),   QStringLiteral("unit_t"),  QStringLiteral("cnt"),
        QStringLiteral("unit"),     QStringLiteral("cnt_min"), QStringLiteral("cnt_sec"),
        QStringLiteral("sweat_cd"), QStringLiteral("comment"), QStringLiteral("grp_name"),
        QStringLiteral("exer_name")};
    return columns;
}

int CsvHeader::position(const QString& name) const {
    return positions_.value(HeaderKey(name), -1);
}

int CsvHeader::position(std::initializer_list<const char*> names) const {
    for (const char* name : names) {
        const int found = position(QString::fromUtf8(name));
        if (found >= 0) return found;
    }
    return -1;
}

bool CsvHeader::read(const CsvRow& header, char delimiter, QString& reason) {
    positions_.clear();
    columnCount_ = static_cast<int>(header.fields.size());
    for (int i = 0; i < columnCount_; ++i) {
        const QString name = HeaderKey(FieldText(header.fields[i]));
        // The first of two columns of the same name counts.
        if (!name.isEmpty() && !positions_.contains(name)) positions_.insert(name, i);
    }
    auto has = [&](std::initializer_list<const char*> names) { return position(names) >= 0; };

    QStringList needed;
    if (has({"ymd"}) && has({"grp_cd"}) && has({"exer_cd"}) && has({"set_num"})) {
        format_ = CsvFormat::Sorvenka;
        for (int i = 0; i < 14; ++i) needed << SorvenkaCsvColumns()[i];
    } else if (has({"exercise_title"}) && has({"start_time"})) {
        format_ = CsvFormat::Hevy;
    } else if (has({"exercise name"}) && has({"date"})) {
        format_ = delimiter == ';' || has({"weight unit"}) ? CsvFormat::StrongSemicolon
                                                           : CsvFormat::StrongComma;
    } else if (has({"exercise"}) && has({"date"})) {
        format_ = CsvFormat::FitNotes;
    } else {
        format_ = CsvFormat::Unknown;
        reason = QStringLiteral(
            "見出し行からファイルの形式がわかりません"
            "（Sorvenka、Strong、Hevy、FitNotesのCSVを読み込めます）");
        return false;
    }
    // The names live in arrays of their own: an initializer list in a pair would not outlive it.
    const std::pair<PeerColumn, std::array<const char*, 5>> peerNames[] = {
        {PeerColumn::Date, {"date", "start_time"}},
        {PeerColumn::Exercise, {"exercise name", "exercise_title", "exercise"}},
        {PeerColumn::Category, {"category"}},
        // Strong's 2016 form names the columns by their unit alone: kg or lbs, km or mi.
        {PeerColumn::WeightKg, {"weight_kg", "weight (kgs)", "weight (kg)", "kg", "kgs"}},
        {PeerColumn::WeightLb, {"weight_lbs", "weight (lbs)", "weight (lb)", "lbs", "lb"}},
        {PeerColumn::Weight, {"weight"}},
        {PeerColumn::WeightUnit, {"weight unit"}},
        {PeerColumn::DistanceKm, {"distance_km", "distance (km)", "km"}},
        {PeerColumn::DistanceMi,
         {"distance_miles", "distance (miles)", "distance (mi)", "mi", "miles"}},
        {PeerColumn::DistanceM, {"distance (meters)", "distance (m)", "distance_meters"}},
        {PeerColumn::Distance, {"distance"}},
        {PeerColumn::DistanceUnit, {"distance unit"}},
        {PeerColumn::Reps, {"reps"}},
        // Hevy's own time columns are the workout's; FitNotes' Time is the set's duration.
        {PeerColumn::Time, {"time"}},
        {PeerColumn::Seconds, {"seconds", "duration_seconds"}},
        {PeerColumn::Rpe, {"rpe"}},
        {PeerColumn::SetType, {"set_type"}},
        {PeerColumn::SetOrder, {"set order", "set_index"}},
        {PeerColumn::Notes, {"notes", "exercise_notes", "comment"}},
        {PeerColumn::Workout, {"workout name", "title"}},
        // A note on the whole workout: Strong's Workout Notes, Hevy's description.
        {PeerColumn::WorkoutNotes, {"workout notes", "description"}},
    };
    for (const auto& [column, names] : peerNames) {
        int& found = peer_[static_cast<int>(column)];
        found = -1;
        for (const char* name : names)
            if (name && found < 0) found = position(QString::fromUtf8(name));
    }
    for (int i = 0; i < 16; ++i) own_[i] = position(SorvenkaCsvColumns()[i]);

    for (const QString& name : needed) {
        if (position(name) < 0) {
            reason = QStringLiteral("列「%1」がありません").arg(name);
            return false;
        }
    }
    return true;
}

bool CsvHeader::loadUnitGiven() const {
    return peer(PeerColumn::WeightKg) >= 0 || peer(PeerColumn::WeightLb) >= 0 ||
           peer(PeerColumn::WeightUnit) >= 0 || peer(PeerColumn::Weight) < 0;
}

bool CsvHeader::distanceUnitGiven() const {
    return peer(PeerColumn::DistanceKm) >= 0 || peer(PeerColumn::DistanceMi) >= 0 ||
           peer(PeerColumn::DistanceM) >= 0 || peer(PeerColumn::DistanceUnit) >= 0 ||
           peer(PeerColumn::Distance) < 0;
}

}  // namespace sorvenka
