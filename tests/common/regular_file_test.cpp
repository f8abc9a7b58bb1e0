// The program's small files are opened only when regular: a link at the name is never
// followed, a FIFO or a device never waited on or written.
#include "common/regular_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "startup/test_files.h"

namespace sorvenka::testing {
namespace {

using Access = RegularFile::Access;

struct Kind {
    const char* name;
    // Makes the thing at `path` (a link points at `target`); false: not possible here.
    std::function<bool(const QByteArray& path, const QByteArray& target)> make;
};

const Kind kOdd[] = {
    {"FIFO", [](const QByteArray& p, const QByteArray&) { return ::mkfifo(p, 0600) == 0; }},
    {"link", [](const QByteArray& p, const QByteArray& t) { return ::symlink(t, p) == 0; }},
    {"dangling link",
     [](const QByteArray& p, const QByteArray& t) { return ::symlink(t + ".none", p) == 0; }},
    {"folder", [](const QByteArray& p, const QByteArray&) { return ::mkdir(p, 0700) == 0; }},
    // A node like the system's null device, made in the temporary folder (root only).
    {"device node",
     [](const QByteArray& p, const QByteArray&) {
         return ::geteuid() == 0 && ::mknod(p, S_IFCHR | 0666, makedev(1, 3)) == 0;
     }},
};

TEST(RegularFile, SomethingElseAtTheNameIsNeitherFollowedNorWaitedOn) {
    // A FIFO that is waited on would stop the test here rather than hang it.
    ::alarm(60);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.txt"));
    ASSERT_TRUE(WriteBytes(target, "the link's target"));
    const Access accesses[] = {Access::Read, Access::Append, Access::Replace,
                               Access::ReadWriteCreate};
    for (const Kind& kind : kOdd) {
        for (const Access access : accesses) {
            SCOPED_TRACE(std::string(kind.name) + " access " +
                         std::to_string(static_cast<int>(access)));
            const QString path = dir.filePath(QStringLiteral("odd"));
            const QByteArray name = QFile::encodeName(path);
            if (!kind.make(name, QFile::encodeName(target))) {
                std::printf("skipped: %s cannot be made here\n", kind.name);
                break;
            }
            struct stat before {};
            ASSERT_EQ(::lstat(name, &before), 0);
            {
                RegularFile file(path, access);
                EXPECT_FALSE(file.isOpen());
                EXPECT_TRUE(file.notRegular()) << file.error();
                EXPECT_FALSE(file.writeAll("written"));
                EXPECT_TRUE(file.read(16).isEmpty());
            }
            struct stat after {};
            ASSERT_EQ(::lstat(name, &after), 0);
            EXPECT_EQ(after.st_mode, before.st_mode);
            EXPECT_EQ(ReadBytes(target), "the link's target");
            EXPECT_FALSE(QFile::exists(target + QStringLiteral(".none")));
            if (::unlink(name) != 0) ::rmdir(name);
        }
    }
    ::alarm(0);
}

TEST(RegularFile, ARegularFileIsReadAppendedOrReplaced) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("small.txt"));
    EXPECT_FALSE(RegularFile(path, Access::Read).isOpen());
    EXPECT_FALSE(RegularFile(path, Access::Read).notRegular());  // missing is not odd
    EXPECT_TRUE(RegularFile(path, Access::Append).writeAll("one\r\n"));
    EXPECT_TRUE(RegularFile(path, Access::Append).writeAll("two\r\n"));
    EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\n");
    EXPECT_EQ(RegularFile(path, Access::Read).read(6), "one\r\nt");
    EXPECT_EQ(RegularFile(path, Access::Read).read(100), "one\r\ntwo\r\n");
    EXPECT_TRUE(RegularFile(path, Access::Replace).writeAll("new"));
    EXPECT_EQ(ReadBytes(path), "new");
    RegularFile lock(path, Access::ReadWriteCreate);
    ASSERT_TRUE(lock.isOpen());
    EXPECT_EQ(ReadBytes(path), "new");  // left as it is
    const int fd = lock.release();
    EXPECT_FALSE(lock.isOpen());
    EXPECT_EQ(::close(fd), 0);  // handed over, not closed by the object
}

}  // namespace
}  // namespace sorvenka::testing
