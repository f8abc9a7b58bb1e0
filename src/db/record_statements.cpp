#include "db/record_statements.h"

#include <QStringList>

#include "common/version.h"
#include "db/statement_text.h"

namespace sorvenka {

namespace {

const QString kNull = QStringLiteral("null");

// The inserts and the clash check leave the last line open.
QString linesWithoutEnd(const QStringList& lines) {
    return lines.join(kCrLf);
}

// An empty minutes text has no number to place: null keeps the statement whole and reads
// back as the empty text, as it was entered.
QString minutesValue(const QString& cntMin) {
    return cntMin.isEmpty() ? kNull : cntMin;
}

QString insertSql(const ExerRecord& r, const QString& cnt, const QString& cntMin,
                  const QString& cntSec) {
    return linesWithoutEnd({
        QStringLiteral("insert into t_exer values("),
        QStringLiteral("   ") + QuotedValue(r.ymd),
        QStringLiteral("  ,") + QuotedValue(r.grp_cd),
        QStringLiteral("  ,") + QuotedValue(r.exer_cd),
        QStringLiteral("  ,") + r.set_num,
        QStringLiteral("  ,") + QuotedValue(r.hms_sta),
        QStringLiteral("  ,") + QuotedValue(r.hms_end),
        QStringLiteral("  ,") + r.target,
        QStringLiteral("  ,") + QuotedValue(r.unit_t),
        QStringLiteral("  ,") + cnt,
        QStringLiteral("  ,") + QuotedValue(r.unit),
        QStringLiteral("  ,") + cntMin,
        QStringLiteral("  ,") + cntSec,
        QStringLiteral("  ,") + QuotedValue(r.sweat_cd),
        QStringLiteral("  ,") + QuotedValue(QuoteDoubled(r.comment)),
        QStringLiteral(")"),
    });
}

QStringList keyWhere(const RecordKey& key) {
    return {
        QStringLiteral("where  ymd = ") + QuotedValue(key.ymd),
        QStringLiteral("  and  grp_cd = ") + QuotedValue(key.grp_cd),
        QStringLiteral("  and  exer_cd = ") + QuotedValue(key.exer_cd),
        QStringLiteral("  and  set_num = ") + key.set_num,
    };
}

QString updateSql(const ExerRecord& r, const QString& cnt, const QString& cntMin,
                  const QString& cntSec) {
    QStringList lines{
        QStringLiteral("update t_exer set"),
        QStringLiteral("       hms_sta = ") + QuotedValue(r.hms_sta),
        QStringLiteral("      ,hms_end = ") + QuotedValue(r.hms_end),
        QStringLiteral("      ,target = ") + r.target,
        QStringLiteral("      ,unit_t = ") + QuotedValue(r.unit_t),
        QStringLiteral("      ,unit = ") + QuotedValue(r.unit),
        QStringLiteral("      ,cnt = ") + cnt,
        QStringLiteral("      ,cnt_min = ") + cntMin,
        QStringLiteral("      ,cnt_sec = ") + cntSec,
        QStringLiteral("      ,sweat_cd = ") + QuotedValue(r.sweat_cd),
        QStringLiteral("      ,comment = ") + QuotedValue(QuoteDoubled(r.comment)),
    };
    lines << keyWhere(r.key());
    return LinesWithEnd(lines);
}

// The columns and joins that the day read and the read by key share.
QStringList selectHead() {
    return {
        QStringLiteral("select t.grp_cd"),  QStringLiteral("      ,g.grp_name"),
        QStringLiteral("      ,t.exer_cd"), QStringLiteral("      ,e.exer_name"),
        QStringLiteral("      ,set_num"),   QStringLiteral("      ,hms_sta"),
        QStringLiteral("      ,hms_end"),
    };
}

QStringList joinsWith(const QString& sweatJoin) {
    return {
        QStringLiteral("from   t_exer t"),
        QStringLiteral("       inner join m_grp g"),
        QStringLiteral("          on t.grp_cd = g.grp_cd"),
        QStringLiteral("       inner join m_exer e"),
        QStringLiteral("          on t.grp_cd = e.grp_cd"),
        QStringLiteral("         and t.exer_cd = e.exer_cd"),
        QStringLiteral("       ") + sweatJoin + QStringLiteral(" m_sweat s"),
        QStringLiteral("          on t.sweat_cd = s.sweat_cd"),
    };
}

}  // namespace

QString QuoteDoubled(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return doubled;
}

QString InsertExerCountSql(const ExerRecord& r) {
    return insertSql(r, r.cnt, kNull, kNull);
}

QString InsertExerTimeSql(const ExerRecord& r) {
    return insertSql(r, kNull, minutesValue(r.cnt_min), r.cnt_sec);
}

QString UpdateExerCountSql(const ExerRecord& r) {
    return updateSql(r, r.cnt, kNull, kNull);
}

QString UpdateExerTimeSql(const ExerRecord& r) {
    return updateSql(r, kNull, minutesValue(r.cnt_min), r.cnt_sec);
}

QString DeleteExerSql(const RecordKey& key) {
    QStringList lines{QStringLiteral("delete from t_exer")};
    lines << keyWhere(key);
    return LinesWithEnd(lines);
}

QString GetMaxSetNumSql(const QString& ymd, const QString& grpCd, const QString& exerCd) {
    return LinesWithEnd({
        QStringLiteral("select ifnull(max(set_num),0) as maxn"),
        QStringLiteral("from   t_exer"),
        QStringLiteral("where  ymd = ") + QuotedValue(ymd),
        QStringLiteral("  and  grp_cd = ") + QuotedValue(grpCd),
        QStringLiteral("  and  exer_cd = ") + QuotedValue(exerCd),
    });
}

QString CheckSameTimeSql(const QString& ymd, const QString& hmsSta, const QString& hmsEnd) {
    return linesWithoutEnd({
        QStringLiteral("with tbl01 as (") + QStringLiteral("  select count(ymd) as cnt"),
        QStringLiteral("  from   t_exer"),
        QStringLiteral("  where  ymd = ") + QuotedValue(ymd),
        QStringLiteral("    and  hms_sta = ") + QuotedValue(hmsSta),
        QStringLiteral("    and  length(hms_sta) = 8"),
        QStringLiteral("),"),
        QStringLiteral("tbl02 as (") + QStringLiteral("  select count(ymd) as cnt"),
        QStringLiteral("  from   t_exer"),
        QStringLiteral("  where  ymd = ") + QuotedValue(ymd),
        QStringLiteral("    and  hms_end = ") + QuotedValue(hmsEnd),
        QStringLiteral("    and  length(hms_end) = 8"),
        QStringLiteral(")"),
        QStringLiteral("select tbl01.cnt as cnt01"),
        QStringLiteral("      ,tbl02.cnt as cnt02"),
        QStringLiteral("from   tbl01"),
        QStringLiteral("       left join tbl02"),
    });
}

namespace {

// The day read with the given terms in place of its values: quoted values, or parameters.
QString selectDayExer(const QString& ymdTerm, int range, const QString& grpCdTerm,
                      const QString& exerCdTerm) {
    QStringList lines = selectHead();
    lines << QStringLiteral("      ,target") << QStringLiteral("      ,unit_t")
          << QStringLiteral("      ,cnt") << QStringLiteral("      ,unit")
          << QStringLiteral("      ,cnt_min") << QStringLiteral("      ,cnt_sec")
          << QStringLiteral("      ,s.sweat_name") << QStringLiteral("      ,comment");
    lines << joinsWith(QStringLiteral("left join"));
    lines << QStringLiteral("where  ymd = ") + ymdTerm;
    if (range == 1 || range == 2) lines << QStringLiteral("  and  e.grp_cd = ") + grpCdTerm;
    if (range == 2) lines << QStringLiteral("  and  e.exer_cd = ") + exerCdTerm;
    lines << QStringLiteral("order by") << QStringLiteral("       hms_sta");
    return LinesWithEnd(lines);
}

}  // namespace

QString SelectDayExerSql(const QString& ymd, int range, const QString& grpCd,
                         const QString& exerCd) {
    return selectDayExer(QuotedValue(ymd), range, QuotedValue(grpCd), QuotedValue(exerCd));
}

QString SelectDayExerBoundSql(int range) {
    return selectDayExer(QStringLiteral("?1"), range, QStringLiteral("?2"), QStringLiteral("?3"));
}

QString SelectExerByKeySql(const RecordKey& key) {
    QStringList lines = selectHead();
    lines << QStringLiteral("      ,target") << QStringLiteral("      ,cnt")
          << QStringLiteral("      ,cnt_min") << QStringLiteral("      ,cnt_sec")
          << QStringLiteral("      ,unit") << QStringLiteral("      ,unit_t")
          << QStringLiteral("      ,t.sweat_cd") << QStringLiteral("      ,s.sweat_name")
          << QStringLiteral("      ,comment");
    lines << joinsWith(QStringLiteral("inner join"));
    // The set number goes between quotes here; set_num's integer affinity still finds it.
    lines << QStringLiteral("where  ymd = ") + QuotedValue(key.ymd)
          << QStringLiteral("  and  t.grp_cd = ") + QuotedValue(key.grp_cd)
          << QStringLiteral("  and  t.exer_cd = ") + QuotedValue(key.exer_cd)
          << QStringLiteral("  and  t.set_num = ") + QuotedValue(key.set_num);
    lines << QStringLiteral("order by") << QStringLiteral("       g.order_id")
          << QStringLiteral("      ,e.order_id") << QStringLiteral("      ,t.set_num");
    return LinesWithEnd(lines);
}

QString LoadExerSql(const RecordKey& key) {
    QStringList lines{
        QStringLiteral("select target"),   QStringLiteral("      ,unit_t"),
        QStringLiteral("      ,unit"),     QStringLiteral("      ,hms_sta"),
        QStringLiteral("      ,hms_end"),  QStringLiteral("      ,cnt"),
        QStringLiteral("      ,cnt_min"),  QStringLiteral("      ,cnt_sec"),
        QStringLiteral("      ,sweat_cd"), QStringLiteral("      ,comment"),
        QStringLiteral("from   t_exer"),
    };
    lines << keyWhere(key);
    return LinesWithEnd(lines);
}

QString GetFirstYmdSql() {
    return LinesWithEnd({
        QStringLiteral("select ifnull(min(ymd),'') as ymd_min"),
        QStringLiteral("from   t_exer"),
    });
}

}  // namespace sorvenka
