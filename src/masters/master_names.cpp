#include "masters/master_names.h"

#include <algorithm>

namespace sorvenka {

QString EmptyNameMessage() {
    return QStringLiteral("名前を入力してください。");
}

QString ControlInNameMessage() {
    return QStringLiteral("名前にタブや改行は使えません。");
}

bool NameHasControl(const QString& name) {
    return std::any_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    });
}

QString GroupNameUsedMessage(const QString& name) {
    return QStringLiteral(
               "「%1」という名前のグループはすでにあります。\r\n"
               "別の名前を入力してください。")
        .arg(name);
}

QString ExerciseNameUsedMessage(const QString& name) {
    return QStringLiteral(
               "このグループには「%1」という名前の種目がすでにあります。\r\n"
               "別の名前を入力してください。")
        .arg(name);
}

bool CheckedMasterName(const QString& typed, QString& name, QString& message) {
    name = typed.trimmed();
    message.clear();
    if (name.isEmpty()) {
        message = EmptyNameMessage();
        return false;
    }
    if (NameHasControl(name)) {
        message = ControlInNameMessage();
        return false;
    }
    return true;
}

}  // namespace sorvenka
