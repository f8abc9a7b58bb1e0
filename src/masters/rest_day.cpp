#include "masters/rest_day.h"

namespace sorvenka {

QString RestDayRefusal(RestDayChange change) {
    QString what;
    switch (change) {
        case RestDayChange::Move:
            what = QStringLiteral("休養日（99 99）は別のグループへ移動できません。");
            break;
        case RestDayChange::MergeFrom:
            what = QStringLiteral("休養日（99 99）は別の種目に統合できません。");
            break;
        case RestDayChange::MergeInto:
            what = QStringLiteral("休養日（99 99）に別の種目を統合することはできません。");
            break;
        case RestDayChange::Hide:
            what = QStringLiteral("休養日（99 99）は非表示にできません。");
            break;
        case RestDayChange::Delete:
            what = QStringLiteral("休養日（99 99）は削除できません。");
            break;
        case RestDayChange::HideGroup:
            what = QStringLiteral("グループ 99 には休養日があるため非表示にできません。");
            break;
        case RestDayChange::DeleteGroup:
            what = QStringLiteral("グループ 99 には休養日があるため削除できません。");
            break;
        case RestDayChange::ImportInto:
            what = QStringLiteral("休養日（99 99）には読み込めません。");
            break;
    }
    return what + QStringLiteral(
                      "\r\n休養日はメイン画面が休みの日の記録に使うため、"
                      "名前の変更だけができます。");
}

}  // namespace sorvenka
