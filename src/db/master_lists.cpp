#include "db/master_lists.h"

#include "common/version.h"
#include "db/column_lookup.h"
#include "db/database.h"
#include "db/statement_text.h"
#include "db/value_forms.h"

namespace sorvenka {

namespace {

// The names of one master list: fixed by the program, never taken from a typed text.
struct MasterNames {
    QString table;
    QString codeColumn;  // empty for the lists of names alone
    QString nameColumn;
};

MasterNames namesOf(MasterList list) {
    switch (list) {
        case MasterList::Groups:
            return {QStringLiteral("m_grp"), QStringLiteral("grp_cd"), QStringLiteral("grp_name")};
        case MasterList::CountUnits:
            return {QStringLiteral("m_unit"), QString(), QStringLiteral("unit_name")};
        case MasterList::LoadUnits:
            return {QStringLiteral("m_unit_target"), QString(), QStringLiteral("unit_name")};
        case MasterList::SweatLevels:
            return {QStringLiteral("m_sweat"), QStringLiteral("sweat_cd"),
                    QStringLiteral("sweat_name")};
    }
    return {};
}

// Runs a master query; each row gives "code name", or the name alone without a code column.
QStringList entries(Database& db, const QString& sql, const QString& codeColumn,
                    const QString& nameColumn) {
    ResultTable table;
    QString message;
    if (!db.query(sql, table, message)) db.failQuery(message);
    QStringList result;
    if (UpperBound(table) < 1) return result;
    const ColumnLookup lookup(db, table);
    const int codeIndex = codeColumn.isEmpty() ? -1 : lookup.index(codeColumn);
    const int nameIndex = lookup.index(nameColumn);
    for (int row = 1; row <= UpperBound(table); ++row) {
        const QStringList cells = lookup.cells(row);
        const QString name = ColumnLookup::cell(cells, nameIndex);
        result << (codeIndex < 0 ? name
                                 : ColumnLookup::cell(cells, codeIndex) + QLatin1Char(' ') + name);
    }
    return result;
}

}  // namespace

QString FillCodeNameListSql(const QString& table, const QString& codeColumn,
                            const QString& nameColumn) {
    return LinesWithEnd({
        QStringLiteral("select ") + codeColumn,
        QStringLiteral("      ,") + nameColumn,
        QStringLiteral("from   ") + table,
        QStringLiteral("where  status = 1"),
        QStringLiteral("order by"),
        QStringLiteral("       order_id"),
    });
}

QString FillNameListSql(const QString& table, const QString& nameColumn) {
    return LinesWithEnd({
        QStringLiteral("select ") + nameColumn,
        QStringLiteral("from   ") + table,
        QStringLiteral("where  status = 1"),
        QStringLiteral("order by"),
        QStringLiteral("       order_id"),
    });
}

QString FillExerListSql(const QString& grpCd) {
    return LinesWithEnd({
        QStringLiteral("select exer_cd"),
        QStringLiteral("      ,exer_name"),
        QStringLiteral("from   m_exer e"),
        QStringLiteral("       inner join m_grp g"),
        QStringLiteral("          on e.grp_cd = g.grp_cd"),
        QStringLiteral("where  e.status = 1"),
        QStringLiteral("  and  e.grp_cd = ") + QuotedValue(grpCd),
        QStringLiteral("order by"),
        QStringLiteral("       e.order_id"),
    });
}

QStringList DBFillMasterList(Database& db, MasterList list) {
    const MasterNames names = namesOf(list);
    const QString sql = names.codeColumn.isEmpty()
                            ? FillNameListSql(names.table, names.nameColumn)
                            : FillCodeNameListSql(names.table, names.codeColumn, names.nameColumn);
    return entries(db, sql, names.codeColumn, names.nameColumn);
}

QStringList DBFillExerList(Database& db, const QString& grpCd) {
    QString message;
    if (!CheckCodeForm(QStringLiteral("grp_cd"), grpCd, 2, message)) return {};
    return entries(db, FillExerListSql(grpCd), QStringLiteral("exer_cd"),
                   QStringLiteral("exer_name"));
}

}  // namespace sorvenka
