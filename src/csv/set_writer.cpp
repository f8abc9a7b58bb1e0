#include "csv/set_writer.h"

#include <sqlite3.h>

#include <optional>

namespace sorvenka {

namespace {

QString OptionalText(const std::optional<qint64>& value) {
    return value ? QString::number(*value) : QStringLiteral("-");
}

void BindOptional(PreparedStatement& s, int position, const std::optional<qint64>& value) {
    if (value)
        s.bindInt(position, *value);
    else
        s.bindNull(position);
}

// A set's load and count columns, in the table's order from `first` on.
void BindMeasures(PreparedStatement& s, int first, const PeerSet& set) {
    s.bindDouble(first, set.target);
    s.bindText(first + 1, set.unitT);
    BindOptional(s, first + 2, set.cnt);
    s.bindText(first + 3, set.unit);
    BindOptional(s, first + 4, set.cntMin);
    BindOptional(s, first + 5, set.cntSec);
}

}  // namespace

SetWriter::SetWriter(sqlite3* db)
    : insert_(db,
              "insert into t_exer (ymd, grp_cd, exer_cd, set_num, hms_sta, hms_end, target, "
              "unit_t, cnt, unit, cnt_min, cnt_sec, sweat_cd, comment) "
              "values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)"),
      keyExists_(db,
                 "select 1 from t_exer "
                 "where ymd = ?1 and grp_cd = ?2 and exer_cd = ?3 and set_num = ?4"),
      sameSets_(db,
                "select count(*) from t_exer "
                "where ymd = ?1 and grp_cd = ?2 and exer_cd = ?3 and set_num <= ?4 "
                "and target is ?5 and unit_t is ?6 and cnt is ?7 and unit is ?8 "
                "and cnt_min is ?9 and cnt_sec is ?10 and comment is ?11"),
      likeSet_(db,
               "select 1 from t_exer where ymd = ?1 and grp_cd = ?2 and exer_cd = ?3 "
               "and target is ?4 and unit_t is ?5 and cnt is ?6 and cnt_min is ?7 "
               "and cnt_sec is ?8 limit 1") {}

bool SetWriter::prepared() const {
    return insert_.ok() && keyExists_.ok() && sameSets_.ok() && likeSet_.ok();
}

SetWriter::Outcome SetWriter::stepped(int code) {
    if (code == SQLITE_DONE || code == SQLITE_ROW) return Outcome::Written;
    failedCode_ = code;
    return Outcome::Failed;
}

SetWriter::Outcome SetWriter::writeOwn(const OwnSet& set, StoredGroup& group) {
    const qint64 setNum = set.whole[3];
    bool present = group.addedSetNums.contains(setNum);
    if (!present && group.count > 0) {
        keyExists_.reset();
        for (int i = 0; i < 4; ++i) keyExists_.bindBytes(i + 1, set.value(i));
        present = keyExists_.step() == SQLITE_ROW;
        keyExists_.reset();
    }
    if (present) return Outcome::Present;
    insert_.reset();
    // Numbers go in as numbers, the kinds the columns' affinities give them; texts (an
    // empty text in a number column too) as read.
    for (int i = 0; i < 14; ++i) {
        const CsvField& value = set.value(i);
        if (value && !value->isEmpty() && (i == 3 || i == 8 || i == 10 || i == 11))
            insert_.bindInt(i + 1, set.whole[i]);
        else if (value && !value->isEmpty() && i == 6)
            insert_.bindDouble(i + 1, set.target);
        else
            insert_.bindBorrowed(i + 1, value);  // the row outlives the step; reset below
    }
    const Outcome outcome = stepped(insert_.step());
    insert_.reset();
    if (outcome == Outcome::Written) group.addedSetNums.append(setNum);
    return outcome;
}

SetWriter::Outcome SetWriter::writePeer(const PeerSet& set, const QString& grp, const QString& exer,
                                        const QString& sweat, StoredGroup& group) {
    if (group.count > 0 && isPresent(set, grp, exer, group)) return Outcome::Present;
    insert_.reset();
    insert_.bindText(1, set.ymd);
    insert_.bindText(2, grp);
    insert_.bindText(3, exer);
    insert_.bindInt(4, group.maxSetNum + ++group.added);
    insert_.bindText(5, QString());
    insert_.bindText(6, QString());
    BindMeasures(insert_, 7, set);
    insert_.bindText(13, sweat);
    insert_.bindText(14, set.comment);
    return stepped(insert_.step());
}

// Identical sets are matched one to one: the k-th identical set of a day and exercise in
// the file is present when at least k identical ones were stored before the import.
bool SetWriter::isPresent(const PeerSet& set, const QString& grp, const QString& exer,
                          StoredGroup& group) {
    const QString fingerprint = QString::number(set.target, 'g', 17) + QLatin1Char('\t') +
                                set.unitT + QLatin1Char('\t') + OptionalText(set.cnt) +
                                QLatin1Char('\t') + set.unit + QLatin1Char('\t') +
                                OptionalText(set.cntMin) + QLatin1Char('\t') +
                                OptionalText(set.cntSec) + QLatin1Char('\t') + set.comment;
    const int seen = ++group.seen[qHash(fingerprint, 0x5eed)];
    sameSets_.reset();
    sameSets_.bindText(1, set.ymd);
    sameSets_.bindText(2, grp);
    sameSets_.bindText(3, exer);
    sameSets_.bindInt(4, group.maxSetNum);
    BindMeasures(sameSets_, 5, set);
    sameSets_.bindText(11, set.comment);
    const qint64 stored = sameSets_.step() == SQLITE_ROW ? sameSets_.columnInt(0) : 0;
    return stored >= seen;
}

bool SetWriter::holdsLikeSet(const PeerSet& set, const QString& grp, const QString& exer) {
    likeSet_.reset();
    likeSet_.bindText(1, set.ymd);
    likeSet_.bindText(2, grp);
    likeSet_.bindText(3, exer);
    likeSet_.bindDouble(4, set.target);
    likeSet_.bindText(5, set.unitT);
    BindOptional(likeSet_, 6, set.cnt);
    BindOptional(likeSet_, 7, set.cntMin);
    BindOptional(likeSet_, 8, set.cntSec);
    return likeSet_.step() == SQLITE_ROW;
}

}  // namespace sorvenka
