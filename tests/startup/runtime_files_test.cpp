#include "startup/runtime_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <functional>

#include "common/log.h"
#include "common/paths.h"
#include "startup/test_files.h"
#include "support/scripted_platform.h"

namespace sorvenka::testing {
namespace {

TEST(FileFingerprint, LengthSumAndWeightedSum) {
    QByteArray swapped("ba");
    QByteArray cycle;
    for (int i = 0; i < 300; ++i)
        for (int b = 0; b < 256; ++b) cycle.append(static_cast<char>(b));
    const struct {
        const char* what;
        QByteArray bytes;
        const char* fingerprint;
    } cases[] = {
        {"abc", "abc", "0003-0126-0376"},
        {"empty", "", "0000-0000-0000"},
        {"ab", "ab", "0002-00C3-0187"},
        // The same bytes swapped at offsets 0 and 1 change only the weighted sum.
        {"ba", swapped, "0002-00C3-0185"},
        // Length and sums wrap at 65536.
        {"65537 bytes FF", QByteArray(65537, '\xFF'), "0001-00FF-00FF"},
        {"76800 bytes 00..FF", cycle, "2C00-6A00-3E00"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("file"));
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        EXPECT_EQ(FileFingerprint(path), QString::fromLatin1(c.fingerprint)) << c.what;
    }
}

TEST(FileFingerprint, AnUnreadableFileHasNone) {
    QTemporaryDir dir;
    // Reading a process's memory from offset 0 fails, while the entry is an ordinary file.
    const QString path = dir.filePath(QStringLiteral("locked.so"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), path));
    ASSERT_TRUE(FileExists(path));
    EXPECT_EQ(FileFingerprint(path), QString());
}

struct RuntimeFilesFixture : ::testing::Test {
    QTemporaryDir dir;
    ScriptedPlatform platform;
    Log log{platform, dir.path(), QStringLiteral("Valdrome")};
    // Two distributed files and their fingerprints as shipped.
    std::vector<RuntimeFile> files{
        {QStringLiteral("libfirst.so"), QStringLiteral("libfirst.so"),
         QStringLiteral("0003-0126-0376")},
        {QStringLiteral("LibSecond.so"), QStringLiteral("libsecond.so"),
         QStringLiteral("0002-00C3-0187")},
    };

    void SetUp() override {
        ASSERT_TRUE(log.start());
        ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("libfirst.so")), "abc"));
        ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("LibSecond.so")), "ab"));
    }
    EndedRun check() {
        return RunExpectingEnd(platform,
                               [&] { CheckRuntimeFiles(platform, log, dir.path(), files); });
    }
    QStringList logLines() const { return ReadCrLfLines(log.path()); }
};

TEST_F(RuntimeFilesFixture, IntactFilesPassSilently) {
    const EndedRun run = check();
    EXPECT_FALSE(run.ended);
    EXPECT_TRUE(run.shown.empty());
    EXPECT_EQ(logLines().size(), 3);  // the header only
}

TEST_F(RuntimeFilesFixture, TheFirstFailingFileIsReportedLoggedAndEnds) {
    const QString first = dir.filePath(QStringLiteral("libfirst.so"));
    const QString second = dir.filePath(QStringLiteral("LibSecond.so"));
    const struct {
        const char* what;
        std::function<void()> damage;
        QString message;
    } cases[] = {
        {"first missing, second missing too",
         [&] {
             QFile::remove(first);
             QFile::remove(second);
         },
         QStringLiteral("libfirst.soが見つかりません")},
        {"one byte changed", [&] { WriteBytes(first, "abd"); },
         QStringLiteral("libfirst.soがダウンロードしたときのものとは不一致です")},
        {"bytes swapped", [&] { WriteBytes(second, "ba"); },
         QStringLiteral("libsecond.soがダウンロードしたときのものとは不一致です")},
        {"empty", [&] { WriteBytes(second, ""); },
         QStringLiteral("libsecond.soがダウンロードしたときのものとは不一致です")},
        {"a folder in its place",
         [&] {
             QFile::remove(second);
             QDir().mkdir(second);
         },
         QStringLiteral("libsecond.soが見つかりません")},
        {"cannot be read",
         [&] {
             QFile::remove(first);
             QFile::link(QStringLiteral("/proc/self/mem"), first);
         },
         QStringLiteral("libfirst.soがダウンロードしたときのものとは不一致です")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();  // intact files and a fresh log
        c.damage();
        const EndedRun run = check();
        EXPECT_TRUE(run.ended);
        EXPECT_NE(run.status, 0);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_EQ(run.shown[0].text, c.message);
        EXPECT_EQ(run.shown[0].caption, QStringLiteral("Valdrome"));
        EXPECT_EQ(run.shown[0].buttons, Buttons::Ok);
        EXPECT_EQ(logLines().mid(2),
                  (QStringList{QStringLiteral("09:30:15 ") + c.message, QString()}));
        QDir().rmdir(second);
        QFile::remove(first);
    }
}

}  // namespace
}  // namespace sorvenka::testing
