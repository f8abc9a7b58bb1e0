// The export file's proposed name, the names it accepts and the file it writes.
#include "export/export_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>

namespace sorvenka {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ExportFile, ProposedNameFromDateWeeksAndOrder) {
    struct Case {
        const char* ymd;
        const char* weeks;
        bool ascending;
        const char* expected;
    };
    const Case cases[] = {
        {"2021/04/01", "1", true, "Rec2021_0401_1_asc.txt"},
        {"2024/03/15", "4", false, "Rec2024_0315_4_desc.txt"},
        {"2024/03/15", "007", true, "Rec2024_0315_007_asc.txt"},  // the week text unchanged
        {"2024/03/15", "99999999999", false, "Rec2024_0315_99999999999_desc.txt"},
        {"0999/12/31", "1", true, "Rec0999_1231_1_asc.txt"},
        // No valid day: the date part is left out.
        {"2021/4/1", "1", true, "Rec1_asc.txt"},
        {"2021/02/30", "2", false, "Rec2_desc.txt"},
        {"", "1", false, "Rec1_desc.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            ProposedExportName(QString::fromUtf8(c.ymd), QString::fromUtf8(c.weeks), c.ascending),
            QString::fromUtf8(c.expected))
            << c.ymd << " " << c.weeks;
}

TEST(ExportFile, PlainFileNamesStayInsideTheFolder) {
    struct Case {
        const char16_t* name;
        bool accepted;
    };
    const Case cases[] = {
        {u"Rec2021_0401_1_asc.txt", true},
        {u"記録 3月.txt", true},
        {u"..txt", true},
        {u"a..b", true},
        {u"", false},
        {u".", false},
        {u"..", false},
        {u"../x.txt", false},
        {u"sub/x.txt", false},
        {u"/tmp/x.txt", false},
        {u"..\\x.txt", false},
        {u"a\tb.txt", false},
        {u"a\nb.txt", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPlainFileName(QString::fromUtf16(c.name)), c.accepted)
            << QString::fromUtf16(c.name).toStdString();
    EXPECT_FALSE(IsPlainFileName(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
}

TEST(ExportFile, WritesShiftJisLinesEndedByCrLfAndReplacesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    WriteBytes(path, QByteArray("an older and longer file that must go entirely\r\n"));

    QString message;
    ASSERT_TRUE(WriteLinesToFile(
        {QStringLiteral("2021/04/22(木)"), QStringLiteral("  ﾍﾞﾝﾁ 5kg"), QString()}, path, message))
        << message.toStdString();
    // 木 = 96 D8, the half-width katakana one byte each (ﾍ = CD, ﾞ = DE, ﾝ = DD, ﾁ = C1).
    EXPECT_EQ(ReadAll(path), QByteArray("2021/04/22(\x96\xd8)\r\n"
                                        "  \xcd\xde\xdd\xc1 5kg\r\n"
                                        "\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.txt")});
}

TEST(ExportFile, NoLinesGiveAnEmptyFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.txt"));
    QString message;
    ASSERT_TRUE(WriteLinesToFile({}, path, message));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
}

TEST(ExportFile, AFileThatCannotBeCreatedIsReportedWithItsPath) {
    QTemporaryDir dir;
    // A missing folder, and a name that is an existing folder.
    const QString missing = dir.filePath(QStringLiteral("no_such_folder/out.txt"));
    QDir(dir.path()).mkdir(QStringLiteral("taken"));
    const QString folder = dir.filePath(QStringLiteral("taken"));
    for (const QString& path : {missing, folder}) {
        QString message;
        EXPECT_FALSE(WriteLinesToFile({QStringLiteral("x")}, path, message)) << path.toStdString();
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{});  // no leftovers
}

// A write that fails half way (here: the file size limit of the process) keeps the previous
// file whole and leaves no partial file behind.
TEST(ExportFile, AFailedWriteKeepsThePreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.txt"));
    const QByteArray previous("the previous export\r\n");
    WriteBytes(path, previous);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    const bool written = WriteLinesToFile(
        QStringList(2000, QStringLiteral("ベンチプレス 60kg 10回")), path, message);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_FALSE(written);
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_EQ(ReadAll(path), previous);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.txt")});
}

// A disk that fills up answers a write with fewer bytes than asked (then ENOSPC). Any write that
// does not take everything is a failure: the previous file stays whole and nothing is left.
TEST(ExportFile, AShortOrFailedWriteKeepsThePreviousFile) {
    struct Case {
        const char* name;
        WriteCall write;
    };
    const Case cases[] = {
        {"half written",
         [](int fd, const void* data, unsigned long size) {
             return static_cast<long>(::write(fd, data, size / 2));
         }},
        {"one byte short",
         [](int fd, const void* data, unsigned long size) {
             return static_cast<long>(::write(fd, data, size - 1));
         }},
        {"nothing written", [](int, const void*, unsigned long) { return 0L; }},
        {"disk full",
         [](int, const void*, unsigned long) {
             errno = ENOSPC;
             return -1L;
         }},
    };
    const QStringList lines(1000, QStringLiteral("ベンチプレス 60kg 10回"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kept.txt"));
        const QByteArray previous("the previous export\r\n");
        WriteBytes(path, previous);
        QString message;
        EXPECT_FALSE(WriteLinesToFile(lines, path, message, c.write));
        EXPECT_TRUE(
            message.startsWith(QStringLiteral("ファイルを書き込めませんでした。\r\n") + path))
            << message.toStdString();
        EXPECT_EQ(ReadAll(path), previous);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("kept.txt")});
    }
}

// A symbolic link at the name is refused and left as it is: nothing is written where it points,
// whether its target exists, is missing, or lies inside the folder.
TEST(ExportFile, ALinkAtTheNameIsRefusedAndNeverWrittenThrough) {
    QTemporaryDir outside;
    const QString victim = outside.filePath(QStringLiteral("victim.txt"));
    WriteBytes(victim, "not yours\r\n");
    const QString missing = outside.filePath(QStringLiteral("created.txt"));
    QTemporaryDir rec;
    const QString inside = rec.filePath(QStringLiteral("inside.txt"));
    WriteBytes(inside, "inside\r\n");
    const struct {
        const char* name;
        QString target;
    } cases[] = {
        {"to a file outside", victim}, {"dangling", missing}, {"to a file inside", inside}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString link = rec.filePath(QStringLiteral("link.txt"));
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(c.target, link));
        QString message;
        EXPECT_FALSE(WriteLinesToFile({QStringLiteral("overwritten")}, link, message));
        EXPECT_TRUE(
            message.startsWith(QStringLiteral("ファイルを作成できませんでした。\r\n") + link));
        EXPECT_TRUE(message.contains(QStringLiteral("シンボリックリンク")))
            << message.toStdString();
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), c.target);
    }
    EXPECT_EQ(ReadAll(victim), QByteArray("not yours\r\n"));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(ReadAll(inside), QByteArray("inside\r\n"));
    EXPECT_EQ(QDir(rec.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{QStringLiteral("inside.txt"), QStringLiteral("link.txt")}));
}

TEST(ExportFile, BytesAreWrittenAsGivenAndKeepOnlyTheFileItself) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.png"));
    const QByteArray bytes = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(3 << 20, '\0');
    QString message = QStringLiteral("left over");
    ASSERT_TRUE(WriteFileSafely(path, bytes, message)) << message.toStdString();
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(ReadAll(path), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("chart.png")});
}

// Only a regular file is replaced: a FIFO, a device node or a folder at the name stays as it
// is, and nothing is written into it (a FIFO would block, a device would take the bytes).
TEST(ExportFile, ANameThatIsNoRegularFileIsRefusedAndLeftAsItIs) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A device node of our own where the system allows it (root), else the system's own
    // /dev/null, which no other user could replace anyway.
    QString device = dir.filePath(QStringLiteral("null.csv"));
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        device = QStringLiteral("/dev/null");
    const QString folder = dir.filePath(QStringLiteral("folder.csv"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.csv")));

    struct Case {
        QString path;
        mode_t kind;
        const char* reason;
    };
    const Case cases[] = {
        {fifo, S_IFIFO, "通常のファイルではありません"},
        {device, S_IFCHR, "通常のファイルではありません"},
        {folder, S_IFDIR, "フォルダです"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        for (bool streamed : {false, true}) {
            QString message;
            const bool written =
                streamed ? WriteFileSafely(
                               c.path,
                               [](QIODevice& file, QString&) { return file.write("x\r\n") == 3; },
                               message)
                         : WriteLinesToFile({QStringLiteral("x")}, c.path, message);
            EXPECT_FALSE(written);
            EXPECT_TRUE(message.contains(c.path)) << message.toStdString();
            EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << message.toStdString();
            struct stat after {};
            ASSERT_EQ(::lstat(QFile::encodeName(c.path).constData(), &after), 0);
            EXPECT_EQ(after.st_mode & S_IFMT, c.kind);
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

// The file an export replaces keeps its permissions; a new file gets the usual ones.
TEST(ExportFile, AReplacedFileKeepsItsPermissions) {
    QTemporaryDir dir;
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0444}, mode_t{0755}}) {
        SCOPED_TRACE(mode);
        const QString path = dir.filePath(QStringLiteral("kept_%1.csv").arg(mode, 0, 8));
        WriteBytes(path, "old\r\n");
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        QString message;
        ASSERT_TRUE(WriteLinesToFile({QStringLiteral("new")}, path, message))
            << message.toStdString();
        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, mode);
        EXPECT_EQ(ReadAll(path), QByteArray("new\r\n"));
    }
    // Run by the administrator, a user's file stays the user's.
    if (::geteuid() == 0) {
        const QString users = dir.filePath(QStringLiteral("users.csv"));
        WriteBytes(users, "old\r\n");
        ASSERT_EQ(::chown(QFile::encodeName(users).constData(), 4321, 4322), 0);
        QString message;
        ASSERT_TRUE(WriteLinesToFile({QStringLiteral("new")}, users, message));
        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(users).constData(), &after), 0);
        EXPECT_EQ(after.st_uid, 4321u);
        EXPECT_EQ(after.st_gid, 4322u);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    const QString fresh = dir.filePath(QStringLiteral("fresh.csv"));
    QString message;
    ASSERT_TRUE(WriteLinesToFile({QStringLiteral("new")}, fresh, message));
    struct stat made {};
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &made), 0);
    EXPECT_EQ(made.st_mode & 07777, 0666 & ~mask);
}

// A failed write names its cause in Japanese, also when the file is written in pieces by a
// body writer (the CSV export): a full disk (a small file system, where the system allows
// mounting one) and the process's file size limit.
TEST(ExportFile, AFailedWriteNamesItsCause) {
    const QByteArray piece(64 * 1024, 'x');
    const FileBodyWriter body = [&](QIODevice& file, QString&) {
        for (int i = 0; i < 64; ++i)
            if (file.write(piece) != piece.size()) return false;
        return true;
    };
    const auto check = [&](const QString& folder, const char* cause) {
        const QString path = folder + QStringLiteral("/big.csv");
        WriteBytes(path, "the previous export\r\n");
        for (bool streamed : {false, true}) {
            SCOPED_TRACE(streamed ? "streamed" : "bytes");
            QString message;
            EXPECT_FALSE(streamed ? WriteFileSafely(path, body, message)
                                  : WriteFileSafely(path, piece.repeated(64), message));
            EXPECT_TRUE(message.contains(QString::fromUtf8(cause))) << message.toStdString();
            EXPECT_FALSE(message.contains(QStringLiteral("Unknown"))) << message.toStdString();
            EXPECT_EQ(ReadAll(path), QByteArray("the previous export\r\n"));
            EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                      QStringList{QStringLiteral("big.csv")});
        }
    };
    {
        SCOPED_TRACE("file size limit");
        QTemporaryDir dir;
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 256 * 1024;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        check(dir.path(), "ファイルが大きすぎます");
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedHandler);
    }
    QTemporaryDir mountPoint;
    const QByteArray point = QFile::encodeName(mountPoint.path());
    if (::mount("tmpfs", point.constData(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no small file system can be mounted here; the size limit case ran";
    SCOPED_TRACE("full disk");
    check(mountPoint.path(), "ディスクの空きが足りません");
    EXPECT_EQ(::umount(point.constData()), 0);
}

}  // namespace
}  // namespace sorvenka
