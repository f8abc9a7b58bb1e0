#include "csv/csv_export.h"

#include <csv.h>
#include <sqlite3.h>

#include <QLocale>

#include "csv/csv_cell_guard.h"
#include "csv/csv_format.h"
#include "db/database.h"
#include "db/prepared_statement.h"
#include "export/export_file.h"

namespace sorvenka {

namespace {

constexpr qsizetype kFlushBytes = 256 * 1024;

// A text goes between quotes only where it must: a delimiter (the comma, or the ";" that
// spreadsheets of some locales split on), a quote or a line break in it, or blanks at its
// ends that a reader would trim. The empty text is "" (an empty field is NULL).
bool NeedsQuotes(const char* text, int size) {
    if (size == 0) return true;
    if (text[0] == ' ' || text[0] == '\t' || text[size - 1] == ' ' || text[size - 1] == '\t')
        return true;
    for (int i = 0; i < size; ++i) {
        const char c = text[i];
        if (c == ',' || c == ';' || c == '"' || c == '\r' || c == '\n') return true;
    }
    return false;
}

void AppendText(QByteArray& out, const char* text, int size) {
    if (!NeedsQuotes(text, size)) {
        out.append(text, size);
        return;
    }
    const size_t needed = csv_write(nullptr, 0, text, static_cast<size_t>(size));
    const qsizetype at = out.size();
    out.resize(at + static_cast<qsizetype>(needed));
    csv_write(out.data() + at, needed, text, static_cast<size_t>(size));
}

void AppendCell(QByteArray& out, const PreparedStatement& select, int column) {
    switch (select.columnType(column)) {
        case SQLITE_NULL:
            return;
        case SQLITE_INTEGER:
            out.append(QByteArray::number(select.columnInt(column)));
            return;
        case SQLITE_FLOAT:
            // The shortest text that reads back as the same number.
            out.append(QByteArray::number(select.columnDouble(column), 'g',
                                          QLocale::FloatingPointShortest));
            return;
        default: {
            int size = 0;
            const char* text = select.columnBytes(column, size);
            if (text == nullptr) text = "";
            // A text a spreadsheet would run as a formula goes out with an apostrophe first
            // (after a ";" too), a NUL as an escape.
            if (NeedsFormulaGuard(text, size)) {
                const QByteArray guarded = GuardedCellText(text, size);
                AppendText(out, guarded.constData(), static_cast<int>(guarded.size()));
            } else {
                AppendText(out, text, size);
            }
        }
    }
}

}  // namespace

QString ProposedCsvName(const QDate& day) {
    return QStringLiteral("Sorvenka_") + day.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".csv");
}

bool ExportCsv(Database& db, const QString& path, const QString& from, const QString& to,
               qint64& rows, QString& message) {
    rows = 0;
    PreparedStatement select(
        db.rawHandle(),
        "select t.ymd, t.grp_cd, t.exer_cd, t.set_num, t.hms_sta, t.hms_end, t.target, t.unit_t, "
        "t.cnt, t.unit, t.cnt_min, t.cnt_sec, t.sweat_cd, t.comment, g.grp_name, e.exer_name "
        "from t_exer t "
        "left join m_grp g on g.grp_cd = t.grp_cd "
        "left join m_exer e on e.grp_cd = t.grp_cd and e.exer_cd = t.exer_cd "
        "where (?1 is null or t.ymd >= ?1) and (?2 is null or t.ymd <= ?2) "
        "order by t.ymd, t.grp_cd, t.exer_cd, t.set_num");
    if (!select.ok()) {
        message = QStringLiteral("記録を読めませんでした（%1）。")
                      .arg(QString::fromUtf8(sqlite3_errstr(select.prepareCode())));
        return false;
    }
    if (from.isEmpty())
        select.bindNull(1);
    else
        select.bindText(1, from);
    if (to.isEmpty())
        select.bindNull(2);
    else
        select.bindText(2, to);

    const int columns = static_cast<int>(SorvenkaCsvColumns().size());
    return WriteFileSafely(
        path,
        [&](QIODevice& file, QString& reason) {
            QByteArray out("\xEF\xBB\xBF");
            out.append(SorvenkaCsvColumns().join(QLatin1Char(',')).toUtf8());
            out.append("\r\n");
            auto flush = [&]() {
                if (file.write(out) != out.size()) return false;
                out.clear();
                return true;
            };
            int code;
            while ((code = select.step()) == SQLITE_ROW) {
                for (int i = 0; i < columns; ++i) {
                    if (i > 0) out.append(',');
                    AppendCell(out, select, i);
                }
                out.append("\r\n");
                ++rows;
                if (out.size() >= kFlushBytes && !flush()) return false;
            }
            if (code != SQLITE_DONE) {
                reason = QStringLiteral("記録を読めませんでした（%1）。")
                             .arg(QString::fromUtf8(sqlite3_errstr(code)));
                return false;
            }
            return flush();
        },
        message);
}

}  // namespace sorvenka
