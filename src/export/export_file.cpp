#include "export/export_file.h"

#include <QSaveFile>

#include "common/display_width.h"
#include "common/text_tests.h"

namespace sorvenka {

QString ProposedExportName(const QString& ymd, const QString& weeks, bool ascending) {
    QString name = QStringLiteral("Rec");
    const QDate day = ParseYmd(ymd);
    if (day.isValid())
        name += QStringLiteral("%1_%2%3_")
                    .arg(day.year(), 4, 10, QLatin1Char('0'))
                    .arg(day.month(), 2, 10, QLatin1Char('0'))
                    .arg(day.day(), 2, 10, QLatin1Char('0'));
    name += weeks;
    name += ascending ? QStringLiteral("_asc") : QStringLiteral("_desc");
    return name + QStringLiteral(".txt");
}

bool IsPlainFileName(const QString& name) {
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..")) return false;
    for (QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\')) return false;
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    }
    return true;
}

namespace {

// Opens a file that replaces `path` only when committed; false with the message.
bool OpenReplacement(QSaveFile& file, const QString& path, QString& message) {
    if (file.open(QIODevice::WriteOnly)) return true;
    message = QStringLiteral("ファイルを作成できませんでした。\r\n") + path +
              QStringLiteral("\r\n") + file.errorString();
    return false;
}

bool CommitReplacement(QSaveFile& file, const QString& path, QString& message) {
    if (!file.commit()) {
        message = QStringLiteral("ファイルを書き込めませんでした。\r\n") + path +
                  QStringLiteral("\r\n") + file.errorString();
        return false;
    }
    return true;
}

}  // namespace

bool WriteLinesToFile(const QStringList& lines, const QString& path, QString& message) {
    QSaveFile file(path);
    if (!OpenReplacement(file, path, message)) return false;
    for (const QString& line : lines) {
        file.write(EncodeCp932(line));
        file.write("\r\n", 2);
    }
    return CommitReplacement(file, path, message);
}

bool WriteBytesToFile(const QByteArray& bytes, const QString& path, QString& message) {
    QSaveFile file(path);
    if (!OpenReplacement(file, path, message)) return false;
    file.write(bytes);
    return CommitReplacement(file, path, message);
}

}  // namespace sorvenka
