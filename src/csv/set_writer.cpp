#include "csv/set_writer.h"

#include <sqlite3.h>

#include <QSet>
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

// Whether the engine refuses a second set of a key by itself: t_exer's one unique index is
// over the key (day, group, exercise, set number) as stored, whole and by plain bytes, and
// no trigger, CHECK or NOT NULL outside the key acts on the table (an ignored conflict
// would pass over their refusals too). An insert that ignores a conflict then tells a key stored
// before, or written earlier in the same import, with no look-up of its own. A table of an
// older program without the key, or with some other unique index, is checked row by row.
bool KeyHeldByEngine(sqlite3* db) {
    PreparedStatement triggers(
        db, "select count(*) from sqlite_master where type = 'trigger' and tbl_name = 't_exer'");
    if (triggers.step() != SQLITE_ROW || triggers.columnInt(0) != 0) return false;
    PreparedStatement table(db, "select lower(sql) from sqlite_master where name = 't_exer'");
    if (table.step() != SQLITE_ROW || table.columnText(0).contains(QLatin1String("check")))
        return false;
    const QSet<QString> key{QStringLiteral("ymd"), QStringLiteral("grp_cd"),
                            QStringLiteral("exer_cd"), QStringLiteral("set_num")};
    PreparedStatement notNull(db,
                              "select lower(name) from pragma_table_info('t_exer') "
                              "where \"notnull\" = 1");
    while (notNull.next())
        if (!key.contains(notNull.columnText(0))) return false;
    if (!notNull.ok()) return false;
    PreparedStatement indexes(db,
                              "select name, partial from pragma_index_list('t_exer') "
                              "where \"unique\" = 1");
    PreparedStatement columns(db,
                              "select lower(name), lower(coll) from pragma_index_xinfo(?1) "
                              "where key = 1");
    if (!indexes.ok() || !columns.ok()) return false;
    int keyIndexes = 0;
    while (indexes.next()) {
        if (indexes.columnInt(1) != 0) return false;  // a partial index holds some rows only
        columns.reset();
        columns.bindText(1, indexes.columnText(0));
        QSet<QString> named;
        int count = 0;
        while (columns.next()) {
            if (columns.columnText(1) != QLatin1String("binary")) return false;
            named.insert(columns.columnText(0));
            ++count;
        }
        if (!columns.ok() || count != 4 || named != key) return false;
        ++keyIndexes;
    }
    return indexes.ok() && keyIndexes > 0;
}

}  // namespace

SetWriter::SetWriter(sqlite3* db)
    : db_(db),
      keyHeldByEngine_(KeyHeldByEngine(db)),
      insertNewKey_(
          keyHeldByEngine_
              ? PreparedStatement(db,
                                  "insert or ignore into t_exer (ymd, grp_cd, exer_cd, set_num, "
                                  "hms_sta, hms_end, target, unit_t, cnt, unit, cnt_min, cnt_sec, "
                                  "sweat_cd, comment) values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, "
                                  "?10, ?11, ?12, ?13, ?14)")
              : PreparedStatement()),
      insert_(db,
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
    return (!keyHeldByEngine_ || insertNewKey_.ok()) && insert_.ok() && keyExists_.ok() &&
           sameSets_.ok() && likeSet_.ok();
}

SetWriter::Outcome SetWriter::stepped(int code) {
    if (code == SQLITE_DONE || code == SQLITE_ROW) return Outcome::Written;
    failedCode_ = code;
    return Outcome::Failed;
}

// Numbers go in as numbers, the kinds the columns' affinities give them; texts (an empty text
// in a number column too) as read. Every value is bound for every row.
void SetWriter::bindOwn(PreparedStatement& s, const OwnSet& set) {
    for (int i = 0; i < 14; ++i) {
        const CsvField& value = set.value(i);
        if (value && !value->isEmpty() && (i == 3 || i == 8 || i == 10 || i == 11))
            s.bindInt(i + 1, set.whole[i]);
        else if (value && !value->isEmpty() && i == 6)
            s.bindDouble(i + 1, set.target);
        else
            s.bindBorrowed(i + 1, value);  // the row outlives the step
    }
}

SetWriter::Outcome SetWriter::writeOwnNewKey(const OwnSet& set) {
    bindOwn(insertNewKey_, set);
    const Outcome outcome = stepped(insertNewKey_.step());
    // The bound values are all bound anew for the next row.
    insertNewKey_.rewind();
    if (outcome != Outcome::Written) return outcome;
    return sqlite3_changes(db_) > 0 ? Outcome::Written : Outcome::Present;
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
    bindOwn(insert_, set);
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
