// The files in the making that killed exports leave beside their target are removed by the
// next export in that folder; nothing else is.
#include "export/leftover_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "export/export_file.h"

namespace sorvenka {
namespace {

QStringList Entries(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("partial");
}

// A child process starts an export into the folder and is killed half way, as kill -9 does.
pid_t KilledExport(const QString& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        QString message;
        WriteFileSafely(
            path,
            [](QIODevice& file, QString&) {
                file.write(QByteArray(100000, 'x'));
                ::kill(::getpid(), SIGKILL);
                return true;
            },
            message);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    return child;
}

TEST(LeftoverFiles, TheNextExportRemovesOnlyTheLeftoversOfEndedProcesses) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("Sorvenka_20240601.csv"));
    const pid_t first = KilledExport(target);
    ASSERT_EQ(Entries(dir.path()).size(), 1);
    ASSERT_TRUE(Entries(dir.path())[0].startsWith(QStringLiteral(".sorvenka-%1-").arg(first)));
    // The second killed export already clears the first one's file.
    const pid_t second = KilledExport(target);
    ASSERT_EQ(Entries(dir.path()).size(), 1);
    ASSERT_TRUE(Entries(dir.path())[0].startsWith(QStringLiteral(".sorvenka-%1-").arg(second)));

    // Files that must stay: a running process's file in the making (this one's), names of
    // another pattern, and a folder of the pattern.
    const QStringList kept{TemporaryExportName(::getpid(), 0xabcdef01),
                           QStringLiteral(".sorvenka-12ab.tmp"),
                           QStringLiteral(".sorvenka-1-zzzzzzzz.tmp"),
                           QStringLiteral("sorvenka-1-00000000.tmp"), QStringLiteral("notes.csv")};
    for (const QString& name : kept) Touch(dir.filePath(name));
    ASSERT_TRUE(QDir(dir.path()).mkdir(TemporaryExportName(second, 0x12345678)));

    QString message;
    ASSERT_TRUE(WriteLinesToFile({QStringLiteral("whole")}, target, message))
        << message.toStdString();
    QStringList expected = kept;
    expected << QStringLiteral("Sorvenka_20240601.csv");
    expected.sort();
    EXPECT_EQ(Entries(dir.path()), expected);
    EXPECT_TRUE(QFileInfo(dir.filePath(TemporaryExportName(second, 0x12345678))).isDir());
}

TEST(LeftoverFiles, TheNameCarriesTheProcess) {
    EXPECT_EQ(TemporaryExportName(4242, 0x0000beef), QStringLiteral(".sorvenka-4242-0000beef.tmp"));
    QTemporaryDir dir;
    Touch(dir.filePath(TemporaryExportName(::getpid(), 1)));
    EXPECT_EQ(RemoveLeftoverExportFiles(dir.path()), 0);
}

}  // namespace
}  // namespace sorvenka
