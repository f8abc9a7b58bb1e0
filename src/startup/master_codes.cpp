#include "startup/master_codes.h"

#include "common/version.h"
#include "db/database.h"

namespace sorvenka {

namespace {
QString MasterLine(const QString& table, const QString& column) {
    return QStringLiteral("マスタ名称.コード名称＝") + table + QLatin1Char('.') + column + kCrLf;
}
}  // namespace

QString MasterCodesSql(const QString& table, const QString& column) {
    return QStringLiteral("select ") + column + kCrLf + QStringLiteral("from   ") + table + kCrLf +
           QStringLiteral("order by") + kCrLf + QStringLiteral("       ") + column + kCrLf;
}

void SelectMasterCodes(Database& db, const QString& table, const QString& column,
                       ResultTable& codes) {
    QString message;
    if (!db.query(MasterCodesSql(table, column), codes, message)) db.failQuery(message);
}

bool CheckCodeDigits(const ResultTable& codes, const QString& table, const QString& column,
                     quint8 width, QString& message) {
    message.clear();
    for (int i = 1; i <= UpperBound(codes); ++i) {
        if (codes[i].size() == width) continue;
        const QString digits = QString::number(width);
        message = MasterLine(table, column) + QStringLiteral("   「") + codes[i] +
                  QStringLiteral("」") + kCrLf + QStringLiteral("上のコードは桁数が") + digits +
                  QStringLiteral("ではありません。") + kCrLf + QStringLiteral("桁数を") + digits +
                  QStringLiteral("桁に統一してください。") + kCrLf;
        return false;
    }
    return true;
}

bool CheckCodeSequence(const ResultTable& codes, const QString& table, const QString& column,
                       QString& message) {
    message.clear();
    for (int i = 1; i <= UpperBound(codes); ++i) {
        if (codes[i] == QString::number(i - 1)) continue;
        message = MasterLine(table, column) +
                  QStringLiteral("このマスタのコードは0に始まる連番であることが必要です。") +
                  kCrLf + QStringLiteral("コードを0に始まる連番に変更してください。") + kCrLf;
        return false;
    }
    return true;
}

bool CheckMasterCodes(Database& db, QString& message) {
    ResultTable codes;
    SelectMasterCodes(db, QStringLiteral("m_grp"), QStringLiteral("grp_cd"), codes);
    if (!CheckCodeDigits(codes, QStringLiteral("m_grp"), QStringLiteral("grp_cd"), 2, message))
        return false;
    SelectMasterCodes(db, QStringLiteral("m_exer"), QStringLiteral("exer_cd"), codes);
    if (!CheckCodeDigits(codes, QStringLiteral("m_exer"), QStringLiteral("exer_cd"), 2, message))
        return false;
    SelectMasterCodes(db, QStringLiteral("m_sweat"), QStringLiteral("sweat_cd"), codes);
    if (!CheckCodeDigits(codes, QStringLiteral("m_sweat"), QStringLiteral("sweat_cd"), 1, message))
        return false;
    return CheckCodeSequence(codes, QStringLiteral("m_sweat"), QStringLiteral("sweat_cd"), message);
}

}  // namespace sorvenka
