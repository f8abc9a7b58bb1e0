#include "csv/name_map_file.h"

#include "csv/csv_import.h"
#include "csv/csv_reader.h"
#include "export/export_file.h"

namespace sorvenka {

namespace {

const QString kNameColumn = QStringLiteral("source_name");

QByteArray Field(const QString& text) {
    QByteArray bytes = text.toUtf8();
    const bool quoted = bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') ||
                        bytes.contains('\n') || bytes.startsWith(' ') || bytes.endsWith(' ');
    if (!quoted) return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

bool IsCode(const QString& code) {
    return code.size() == 2 && !code.contains(QLatin1Char('\''));
}

}  // namespace

bool WriteNameMapFile(const QString& path, const ImportSummary& summary, QString& message) {
    QByteArray bytes = "source_name,grp_cd,exer_cd,grp_name,exer_name,sets,first_day,last_day\r\n";
    for (const NameUse& use : summary.names) {
        // A new exercise has no code until it is written.
        const QString exer = use.created ? QString() : use.target.exerCd;
        bytes += Field(use.name) + ',' + Field(use.target.grpCd) + ',' + Field(exer) + ',' +
                 Field(use.grpName) + ',' + Field(use.created ? QString() : use.exerName) + ',' +
                 QByteArray::number(use.sets) + ',' + use.firstDay.toUtf8() + ',' +
                 use.lastDay.toUtf8() + "\r\n";
    }
    // The export's writer: only a regular file is replaced, never a device, a FIFO or a link.
    if (WriteFileSafely(path, bytes, message)) return true;
    message = QStringLiteral("種目の対応を書き出せませんでした。\r\n") + message;
    return false;
}

bool ReadNameMapFile(const QString& path, QHash<QString, ExerciseTarget>& mapping, QString& message,
                     QHash<QString, QString>* newNames) {
    mapping.clear();
    if (newNames) newNames->clear();
    CsvReader reader;
    if (!reader.open(path, message)) return false;
    QString problem;
    qint64 problemLine = 0;
    bool first = true;
    qint64 errorLine = 0;
    const bool read = reader.read(
        [&](CsvRow& row) {
            // Trimmed as the import reads the names of a file: " Squat" and "Squat" are one.
            const QString name =
                row.fields.empty() ? QString() : FieldText(row.fields[0]).trimmed();
            if (first && name == kNameColumn) {
                first = false;
                return true;
            }
            first = false;
            auto field = [&](size_t i) {
                return i < row.fields.size() ? FieldText(row.fields[i]).trimmed() : QString();
            };
            const ExerciseTarget target{field(1), field(2)};
            if (!row.refusal.isEmpty())
                problem = row.refusal;
            else if (name.isEmpty())
                problem = QStringLiteral("種目名がありません");
            else if (!IsCode(target.grpCd))
                problem = QStringLiteral("グループのコードは2文字です（%1）").arg(target.grpCd);
            else if (!target.exerCd.isEmpty() && !IsCode(target.exerCd))
                problem = QStringLiteral("種目のコードは2文字か空です（%1）").arg(target.exerCd);
            else if (mapping.contains(name))
                problem = QStringLiteral("種目名「%1」が2回あります").arg(name);
            if (!problem.isEmpty()) {
                problemLine = row.line;
                return false;
            }
            mapping.insert(name, target);
            if (newNames && target.exerCd.isEmpty() && !field(4).isEmpty())
                newNames->insert(name, field(4));
            return true;
        },
        message, errorLine);
    if (!read) problem = message, problemLine = errorLine;
    if (problem.isEmpty()) return true;
    message = QStringLiteral("種目の対応のファイルが正しくありません。\r\n%1\r\n%2行目: %3")
                  .arg(path)
                  .arg(problemLine)
                  .arg(problem);
    return false;
}

}  // namespace sorvenka
