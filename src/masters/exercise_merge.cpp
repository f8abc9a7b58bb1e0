#include "masters/exercise_merge.h"

#include <sqlite3.h>

#include <vector>

#include "db/prepared_statement.h"
#include "masters/group_changes.h"
#include "routines/routine_store.h"

namespace sorvenka {

namespace {

// "code name / code name" of an exercise's group and itself; nothing when it is missing.
std::optional<QString> ExerciseLabel(sqlite3* db, const ExerciseKey& key, bool& ok) {
    return ScalarText(db,
                      "select e.grp_cd || ' ' || coalesce(g.grp_name, '') || ' / ' ||"
                      "       e.exer_cd || ' ' || coalesce(e.exer_name, '')"
                      " from m_exer e left join m_grp g on g.grp_cd = e.grp_cd"
                      " where e.grp_cd = ?1 and e.exer_cd = ?2",
                      {key.grpCd, key.exerCd}, ok);
}

bool ReadCounts(sqlite3* db, const ExerciseKey& from, const ExerciseKey& into,
                MergeFigures& figures) {
    PreparedStatement statement(
        db,
        "select count(*), count(distinct ymd),"
        "       count(distinct case when shared then ymd end), coalesce(sum(shared), 0) "
        "from (select a.ymd,"
        "             exists(select 1 from t_exer b where b.grp_cd = ?3 and b.exer_cd = ?4"
        "                    and b.ymd = a.ymd) as shared"
        "      from t_exer a where a.grp_cd = ?1 and a.exer_cd = ?2)");
    if (!statement.ok()) return false;
    statement.bindText(1, from.grpCd);
    statement.bindText(2, from.exerCd);
    statement.bindText(3, into.grpCd);
    statement.bindText(4, into.exerCd);
    if (statement.step() != SQLITE_ROW) return false;
    figures.sets = statement.columnInt(0);
    figures.days = statement.columnInt(1);
    figures.sharedDays = statement.columnInt(2);
    figures.renumberedSets = statement.columnInt(3);
    return true;
}

bool ReadFigures(sqlite3* db, const ExerciseKey& from, const ExerciseKey& into,
                 MergeFigures& figures, QString& message) {
    figures = MergeFigures();
    message.clear();
    if (from == into) {
        message = QStringLiteral("統合元と統合先に同じ種目が選ばれています。");
        return false;
    }
    bool ok = true;
    const auto fromLabel = ExerciseLabel(db, from, ok);
    const auto intoLabel = ok ? ExerciseLabel(db, into, ok) : std::nullopt;
    if (ok && (!fromLabel || !intoLabel)) {
        message = fromLabel ? QStringLiteral("統合先の種目がありません。")
                            : QStringLiteral("統合元の種目がありません。");
        return false;
    }
    if (!ok || !ReadCounts(db, from, into, figures)) {
        message = QStringLiteral("データベースを読み込めませんでした。\r\n") +
                  QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    figures.fromLabel = *fromLabel;
    figures.intoLabel = *intoLabel;
    return true;
}

struct NewNumber {
    qint64 rowid;
    qint64 setNum;
};

// The new numbers of the merged sets that share a day with the target: after the target's
// highest of the day, by start time, untimed sets last, ties by their old numbers.
bool NumberSharedDays(sqlite3* db, const ExerciseKey& from, const ExerciseKey& into,
                      std::vector<NewNumber>& numbers) {
    PreparedStatement statement(
        db,
        "select a.rowid, a.ymd, top.high "
        "from t_exer a"
        "     join (select ymd, max(set_num) as high from t_exer"
        "           where grp_cd = ?3 and exer_cd = ?4 group by ymd) top on top.ymd = a.ymd "
        "where a.grp_cd = ?1 and a.exer_cd = ?2 "
        "order by a.ymd, coalesce(a.hms_sta, '') = '', coalesce(a.hms_sta, ''), a.set_num");
    if (!statement.ok()) return false;
    statement.bindText(1, from.grpCd);
    statement.bindText(2, from.exerCd);
    statement.bindText(3, into.grpCd);
    statement.bindText(4, into.exerCd);
    QString day;
    qint64 next = 0;
    int code = SQLITE_ROW;
    while ((code = statement.step()) == SQLITE_ROW) {
        const QString ymd = statement.columnText(1);
        if (ymd != day) {
            day = ymd;
            next = statement.columnInt(2);
        }
        numbers.push_back({statement.columnInt(0), ++next});
    }
    return code == SQLITE_DONE;
}

bool Renumber(sqlite3* db, const ExerciseKey& into, const std::vector<NewNumber>& numbers) {
    PreparedStatement statement(
        db, "update t_exer set grp_cd = ?1, exer_cd = ?2, set_num = ?3 where rowid = ?4");
    if (!statement.ok()) return false;
    for (const NewNumber& number : numbers) {
        statement.bindText(1, into.grpCd);
        statement.bindText(2, into.exerCd);
        statement.bindInt(3, number.setNum);
        statement.bindInt(4, number.rowid);
        if (statement.step() != SQLITE_DONE) return false;
        statement.reset();
    }
    return true;
}

}  // namespace

bool PreviewMerge(sqlite3* db, const ExerciseKey& from, const ExerciseKey& into,
                  MergeFigures& figures, QString& message) {
    return ReadFigures(db, from, into, figures, message);
}

bool MergeExercise(sqlite3* db, const ExerciseKey& from, const ExerciseKey& into,
                   MergeFigures& figures, QString& message) {
    Transaction transaction(db);
    if (!transaction.begun()) {
        message = WriteFailedMessage(db);
        return false;
    }
    // Read again inside the transaction: the figures are those of what is written.
    if (!ReadFigures(db, from, into, figures, message)) return false;
    std::vector<NewNumber> numbers;
    numbers.reserve(static_cast<size_t>(figures.renumberedSets));
    const bool written =
        NumberSharedDays(db, from, into, numbers) && Renumber(db, into, numbers) &&
        // The other days have no set of the target: the numbers stay.
        ExecBound(db,
                  "update t_exer set grp_cd = ?3, exer_cd = ?4 where grp_cd = ?1 and exer_cd = ?2",
                  {from.grpCd, from.exerCd, into.grpCd, into.exerCd}) &&
        MoveRoutineItems(db, from.grpCd, from.exerCd, into.grpCd, into.exerCd) &&
        ExecBound(db, "delete from m_exer where grp_cd = ?1 and exer_cd = ?2",
                  {from.grpCd, from.exerCd}) &&
        transaction.commit();
    if (!written) {
        message = WriteFailedMessage(db);
        return false;
    }
    return true;
}

QString MergePreviewText(const MergeFigures& figures, const QString& copyName) {
    QString text =
        QStringLiteral("「%1」を「%2」に統合します。\r\n\r\n")
            .arg(figures.fromLabel, figures.intoLabel) +
        QStringLiteral("移すセット: %1セット（%2日分）\r\n").arg(figures.sets).arg(figures.days);
    if (figures.sharedDays > 0)
        text += QStringLiteral(
                    "統合先にも記録がある日: %1日（その%2セットは統合先のセットの後に、"
                    "開始時刻の順に番号を付け直します）\r\n")
                    .arg(figures.sharedDays)
                    .arg(figures.renumberedSets);
    text += QStringLiteral("統合元の種目は一覧から削除されます。\r\n\r\n") +
            QStringLiteral("統合の前にデータベースのコピーを作ります:\r\n%1").arg(copyName);
    return text;
}

QString MergeDoneText(const MergeFigures& figures, const QString& copyName) {
    return QStringLiteral("「%1」を「%2」に統合しました。\r\n")
               .arg(figures.fromLabel, figures.intoLabel) +
           QStringLiteral("移したセット: %1セット（%2日分、番号を付け直したセット: %3）\r\n")
               .arg(figures.sets)
               .arg(figures.days)
               .arg(figures.renumberedSets) +
           QStringLiteral("統合前のコピー: %1").arg(copyName);
}

}  // namespace sorvenka
