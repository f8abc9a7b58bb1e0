#include "common/paths.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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

// Sets an environment variable for one scope and puts the earlier state back afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name_, value);
    }
    ~ScopedVariable() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(ProgramFolder, TheNamedFolderStandsInForTheExecutablesOwn) {
    const QString own = QCoreApplication::applicationDirPath();
    const QString current = QDir::currentPath();
    const struct {
        const char* named;
        QString folder;
        QString base;
    } cases[] = {
        {"", own, ParentFolder(own)},  // empty: as if not set
        {"/home/u/.local/share/sorvenka/Valdrome", "/home/u/.local/share/sorvenka/Valdrome",
         "/home/u/.local/share/sorvenka"},
        {"/data/sorvenka/Valdrome/", "/data/sorvenka/Valdrome", "/data/sorvenka"},
        {"/data//sorvenka/./Valdrome", "/data/sorvenka/Valdrome", "/data/sorvenka"},
        {"work/Valdrome", current + "/work/Valdrome", current + "/work"},
    };
    for (const auto& c : cases) {
        ScopedVariable variable(kProgramFolderVariable, c.named);
        EXPECT_EQ(ProgramFolder(), c.folder) << c.named;
        EXPECT_EQ(BaseFolder(), c.base) << c.named;
        EXPECT_EQ(ProgramName(), QStringLiteral("paths_test")) << "the name stays the executable's";
    }
    qunsetenv(kProgramFolderVariable);
    EXPECT_EQ(ProgramFolder(), own);
}

}  // namespace
}  // namespace sorvenka::testing
