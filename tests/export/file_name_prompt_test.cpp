// The question for a file name in the rec folder that the list export, the CSV export and the
// chart's saving share.
#include "export/file_name_prompt.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/scripted_platform.h"

namespace sorvenka::testing {
namespace {

TEST(FileNamePrompt, GivesThePathInTheFolderOrSaysWhyNot) {
    QTemporaryDir base;
    const QString rec = base.filePath(QStringLiteral("rec"));
    ASSERT_TRUE(QDir().mkpath(rec));
    const QString missing = base.filePath(QStringLiteral("gone"));
    struct Case {
        const char* answer;
        QString folder;
        QString path;   // empty: no file to write
        QString shown;  // the message shown, empty for none
    };
    const Case cases[] = {
        {"Rec1_asc.txt", rec, rec + QStringLiteral("/Rec1_asc.txt"), QString()},
        {"", rec, QString(), QString()},  // cancelled: nothing more is said
        {"../escape.txt", rec, QString(),
         QStringLiteral("ファイル名が正しくありません。\r\n"
                        "recフォルダの中のファイル名だけを指定してください"
                        "（/ \\ . .. は使えません）。\r\n../escape.txt")},
        // The name is judged before the folder.
        {"sub/x.txt", missing, QString(),
         QStringLiteral("ファイル名が正しくありません。\r\n"
                        "recフォルダの中のファイル名だけを指定してください"
                        "（/ \\ . .. は使えません）。\r\nsub/x.txt")},
        {"x.txt", missing, QString(),
         QStringLiteral("出力先のフォルダがありません。\r\n") + missing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        ScriptedPlatform platform;
        platform.inputs.push_back(QString::fromUtf8(c.answer));
        EXPECT_EQ(AskFileNameInRecFolder(platform, c.folder, QStringLiteral("prompt"),
                                         QStringLiteral("title"), QStringLiteral("proposal")),
                  c.path);
        ASSERT_EQ(platform.inputsAsked.size(), 1u);
        EXPECT_EQ(platform.inputsAsked[0].prompt, QStringLiteral("prompt"));
        EXPECT_EQ(platform.inputsAsked[0].title, QStringLiteral("title"));
        EXPECT_EQ(platform.inputsAsked[0].defaultText, QStringLiteral("proposal"));
        ASSERT_EQ(platform.shown.size(), c.shown.isEmpty() ? 0u : 1u);
        if (!c.shown.isEmpty()) {
            EXPECT_EQ(platform.shown[0].text, c.shown);
        }
    }
}

}  // namespace
}  // namespace sorvenka::testing
