#include "common/paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace sorvenka::testing {
namespace {

TEST(ParentFolder, TextBeforeTheLastSeparatorThatIsNotTheFinalCharacter) {
    const struct {
        const char* path;
        const char* parent;
    } cases[] = {
        {"/opt/tools/Valdrome", "/opt/tools"},
        {"/opt/tools/Valdrome/", "/opt/tools"},  // one trailing separator is ignored
        {"/opt/tools//", "/opt/tools"},          // only one
        {"/Valdrome", ""},                       // the program folder at the root
        {"/", ""},
        {"Valdrome", ""},
        {"", ""},
        {"/データ/Valdrome", "/データ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParentFolder(QString::fromUtf8(c.path)), QString::fromUtf8(c.parent)) << c.path;
}

TEST(JoinPath, UsesThePlatformSeparator) {
    EXPECT_EQ(JoinPath(QStringLiteral("/opt/tools"), QStringLiteral("db")),
              QStringLiteral("/opt/tools/db"));
    // An empty base gives the folder at the root, as a program folder at the root does.
    EXPECT_EQ(JoinPath(QString(), QStringLiteral("db")), QStringLiteral("/db"));
}

TEST(FolderAndFileExists, TellFoldersFromOrdinaryFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    for (const char* name : {"file.txt", ".hidden"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("file.txt")),
                            dir.filePath(QStringLiteral("link.txt"))));
    const struct {
        const char* name;
        bool folder;
        bool file;
    } cases[] = {
        {"folder", true, false},   {"file.txt", false, true}, {".hidden", false, false},
        {"link.txt", false, true}, {"missing", false, false},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        EXPECT_EQ(FolderExists(path), c.folder) << c.name;
        EXPECT_EQ(FileExists(path), c.file) << c.name;
    }
    EXPECT_FALSE(FolderExists(QString()));
    EXPECT_FALSE(FileExists(QString()));
}

}  // namespace
}  // namespace sorvenka::testing
