#include "csv/import_summary_texts.h"

#include <sqlite3.h>

namespace sorvenka {

QString RefusedRowText(const RefusedRow& row) {
    return QStringLiteral("%1行目: %2").arg(row.line).arg(row.reason);
}

QString WriteFailureText(int code) {
    return QStringLiteral("データベースに書き込めませんでした（%1）。")
        .arg(QString::fromUtf8(sqlite3_errstr(code)));
}

QString NameMatchText(NameMatch match) {
    switch (match) {
        case NameMatch::Given:
            return QStringLiteral("指定");
        case NameMatch::Saved:
            return QStringLiteral("前回の選択");
        case NameMatch::SameName:
            return QStringLiteral("同じ名前");
        case NameMatch::CommonName:
            return QStringLiteral("名前の表");
        case NameMatch::New:
            break;
    }
    return QStringLiteral("新規");
}

namespace {

QString FailureLine(const ImportSummary& summary) {
    return summary.failureLine > 0 ? QStringLiteral("読み込めません: %1行目: %2")
                                         .arg(summary.failureLine)
                                         .arg(summary.failure)
                                   : QStringLiteral("読み込めません: %1").arg(summary.failure);
}

}  // namespace

QStringList SummaryLines(const ImportSummary& summary, bool listRefusedRows) {
    // Nothing was read: figures of zero would only hide the reason.
    if (summary.format == CsvFormat::Unknown && !summary.failure.isEmpty())
        return {FailureLine(summary)};
    QStringList lines;
    lines << QStringLiteral("形式: %1").arg(CsvFormatName(summary.format));
    if (summary.encoding == CsvEncoding::Cp932)
        lines << QStringLiteral("文字コード: CP932（シフトJIS）");
    if (summary.loadUnitMissing)
        lines << (summary.loadUnit.isEmpty()
                      ? QStringLiteral("重量の単位: ファイルになし（重量から見ると %1）")
                            .arg(summary.proposedLoadUnit)
                      : QStringLiteral("重量の単位: %1（ファイルに単位がないため指定による）")
                            .arg(summary.loadUnit));
    if (summary.distanceUnitMissing)
        lines << (summary.distanceUnit.isEmpty()
                      ? QStringLiteral("距離の単位: ファイルになし（重量の単位から見ると %1）")
                            .arg(summary.proposedDistanceUnit)
                      : QStringLiteral("距離の単位: %1（ファイルに単位がないため指定による）")
                            .arg(summary.distanceUnit));
    if (summary.assistedSets > 0)
        lines << QStringLiteral(
                     "アシスト付きのセット（負の重量。重量 0 で、アシストをメモに記録）: %1")
                     .arg(summary.assistedSets);
    if (summary.mendedRows > 0)
        lines << QStringLiteral("種目名のカンマで列が1つ多い行を直して読む: %1行")
                     .arg(summary.mendedRows);
    if (summary.skippedEmptySets > 0)
        lines << QStringLiteral("重量・回数・時間・距離のないセット（読み込まない）: %1")
                     .arg(summary.skippedEmptySets);
    lines << QStringLiteral("日数: %1").arg(summary.days);
    lines << QStringLiteral("セット数: %1（新規 %2、登録済みのため読み込まない %3）")
                 .arg(summary.sets)
                 .arg(summary.newSets)
                 .arg(summary.presentSets);
    lines << QStringLiteral("種目: 登録済み %1、新規 %2")
                 .arg(summary.existingExercises)
                 .arg(summary.newExercises.size());
    for (const NewExercise& e : summary.newExercises)
        lines << QStringLiteral("  新しい種目: %1 → グループ %2 %3、コード %4")
                     .arg(e.sourceName == e.name || e.sourceName.isEmpty()
                              ? e.name
                              : QStringLiteral("%1（名前 %2）").arg(e.sourceName, e.name),
                          e.grpCd, e.grpName,
                          e.exerCd.isEmpty() ? QStringLiteral("（空きなし）") : e.exerCd);
    for (const NameUse& use : summary.names) {
        if (use.created || use.target.exerCd.isEmpty()) continue;
        lines << QStringLiteral("  対応: %1 → %2 %3 %4（%5）")
                     .arg(use.name, use.target.grpCd, use.target.exerCd, use.exerName,
                          NameMatchText(use.match));
    }
    if (!summary.newUnits.isEmpty())
        lines << QStringLiteral("単位を追加: %1").arg(summary.newUnits.join(QStringLiteral("、")));
    lines << QStringLiteral("読み込めない行: %1").arg(summary.refusedCount);
    if (listRefusedRows) {
        for (const RefusedRow& row : summary.refused)
            lines << QStringLiteral("  ") + RefusedRowText(row);
        if (summary.refusedCount > static_cast<qint64>(summary.refused.size()))
            lines << QStringLiteral("  ほか %1行")
                         .arg(summary.refusedCount - static_cast<qint64>(summary.refused.size()));
    }
    if (!summary.failure.isEmpty()) lines << FailureLine(summary);
    return lines;
}

}  // namespace sorvenka
