#include "export/file_name_prompt.h"

#include "common/paths.h"
#include "common/platform.h"
#include "export/export_file.h"

namespace sorvenka {

QString AskFileNameInRecFolder(Platform& platform, const QString& recFolder, const QString& prompt,
                               const QString& title, const QString& proposal) {
    const QString name = platform.inputBox(prompt, title, proposal);
    if (name.isEmpty()) return QString();
    // The file goes into the rec folder and nowhere else.
    if (!IsPlainFileName(name)) {
        platform.message(QStringLiteral("ファイル名が正しくありません。\r\n"
                                        "recフォルダの中のファイル名だけを指定してください"
                                        "（/ \\ . .. は使えません）。\r\n") +
                         name);
        return QString();
    }
    if (!FolderExists(recFolder)) {
        platform.message(QStringLiteral("出力先のフォルダがありません。\r\n") + recFolder);
        return QString();
    }
    return JoinPath(recFolder, name);
}

}  // namespace sorvenka
