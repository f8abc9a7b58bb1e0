#include "record_list/update_confirmation.h"

#include <QStringList>

#include "common/display_width.h"
#include "common/version.h"

namespace sorvenka {

namespace {
const QString kCommentIndent(14, QLatin1Char(' '));
const QString kBlank = QStringLiteral(" ");
}  // namespace

QString UpdateBeforeLine(const ExerRecord& stored, const QString& sweatName) {
    QString line = stored.hms_sta + QStringLiteral("-") + stored.hms_end + kBlank + stored.target +
                   stored.unit_t + kBlank;
    if (!stored.cnt.isEmpty())
        line += stored.cnt + stored.unit + kBlank;
    else
        line += stored.cnt_min + QStringLiteral("分") + stored.cnt_sec + QStringLiteral("秒 ");
    return line + sweatName;
}

QString UpdateAfterLine(const ExerRecord& entered, const QString& sweatName) {
    QString line = entered.hms_sta + QStringLiteral("-") + entered.hms_end + kBlank;
    if (!entered.cnt.isEmpty())
        line += PadToWidth(entered.target, 3, true) + entered.unit_t + kBlank +
                PadToWidth(entered.cnt, 3, true) + entered.unit + kBlank;
    else
        line += entered.target + entered.unit_t + kBlank + entered.cnt_min + QStringLiteral("分") +
                entered.cnt_sec + QStringLiteral("秒 ");
    return line + PadToWidth(sweatName, 10, false);
}

QString IndentedComment(const QString& comment) {
    QString indented = comment;
    indented.replace(kCrLf, kCrLf + kCommentIndent);
    return kCommentIndent + indented;
}

QString UpdateConfirmationText(const RecordKey& key, const ExerRecord& stored,
                               const QString& storedSweatName, const ExerRecord& entered,
                               const QString& enteredSweatName) {
    const QStringList lines = {
        QStringLiteral("PK  Ymd=") + key.ymd + QStringLiteral(",GrpCd=") + key.grp_cd +
            QStringLiteral(",ExerCd=") + key.exer_cd + QStringLiteral(",SetN=") + key.set_num,
        QString(),
        QStringLiteral("  更新前：") + UpdateBeforeLine(stored, storedSweatName),
        IndentedComment(stored.comment),
        QStringLiteral("  更新後：") + UpdateAfterLine(entered, enteredSweatName),
        IndentedComment(entered.comment),
        QStringLiteral("更新しますか？"),
    };
    return lines.join(kCrLf) + kCrLf;
}

}  // namespace sorvenka
