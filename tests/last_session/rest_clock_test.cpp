// The rest clock against readings of an injected time of day; the day's last finish read from
// a real database file; the kept rest length.
#include "last_session/rest_clock.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "db/database.h"
#include "progress/progress_fixture.h"

namespace sorvenka::testing {
namespace {

TEST(RestClock, CountsFromTheLastFinishAndRingsOnceAtTheRestLength) {
    RestClock clock;
    clock.setRestLength(90);
    EXPECT_FALSE(clock.read(36000).shown);  // no finish today
    clock.setLastFinish(36000);             // 10:00:00
    struct Reading {
        int now;
        bool shown;
        int elapsed;
        bool reached, ring;
    };
    for (const Reading r :
         {Reading{35999, false, 0, false, false},  // finish in the future
          Reading{36000, true, 0, false, false}, Reading{36089, true, 89, false, false},
          Reading{36090, true, 90, true, true},
          Reading{36091, true, 91, true, false},  // rung once only
          Reading{36500, true, 500, true, false}}) {
        const RestClock::Reading got = clock.read(r.now);
        EXPECT_EQ(got.shown, r.shown) << r.now;
        if (r.shown) {
            EXPECT_EQ(got.elapsed, r.elapsed) << r.now;
        }
        EXPECT_EQ(got.reached, r.reached) << r.now;
        EXPECT_EQ(got.ring, r.ring) << r.now;
    }
    // A new finish starts again and may ring again; the same finish read again does not.
    clock.setLastFinish(36000);
    EXPECT_FALSE(clock.read(36600).ring);
    clock.setLastFinish(36600);
    EXPECT_FALSE(clock.read(36660).reached);
    EXPECT_TRUE(clock.read(36700).ring);
    // No rest length: counts, never reached.
    clock.setRestLength(0);
    EXPECT_FALSE(clock.read(40000).reached);
    EXPECT_EQ(RestText(3725), "62:05");
    EXPECT_EQ(RestText(65), "1:05");
}

TEST(RestClock, LastFinishOfTheDayOverEveryExercise) {
    OpenDatabase env;
    StoreSets(env.layout, {
                              {.ymd = "2024/05/14", .set = 1, .end = "09:01:00"},
                              {.ymd = "2024/05/14", .exer = "02", .set = 1, .end = "09:20:05"},
                              {.ymd = "2024/05/14", .set = 2, .end = ""},
                              {.ymd = "2024/05/14", .set = 3, .end = "25:00:00"},  // not a time
                              {.ymd = "2024/05/15", .set = 1, .end = "23:00:00"},
                          });
    EXPECT_EQ(ReadLastFinish(env.db.connection(), "2024/05/14"), 9 * 3600 + 20 * 60 + 5);
    EXPECT_EQ(ReadLastFinish(env.db.connection(), "2024/05/13"), std::nullopt);
}

TEST(RestClock, RestLengthKeptInAFile) {
    TempLayout layout;
    const QString path = layout.programFolder() + QStringLiteral("/rest_length.txt");
    EXPECT_EQ(LoadRestLength(path), 0);  // no file yet
    ASSERT_TRUE(SaveRestLength(path, 90));
    EXPECT_EQ(LoadRestLength(path), 90);
    ASSERT_TRUE(SaveRestLength(path, 180));
    EXPECT_EQ(LoadRestLength(path), 180);
    // A file edited into something else offers nothing rather than an odd length.
    for (const QByteArray& text : {QByteArray("abc"), QByteArray("-5"), QByteArray("91")}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        EXPECT_EQ(LoadRestLength(path), 0) << text.constData();
    }
    EXPECT_FALSE(SaveRestLength(layout.base() + QStringLiteral("/missing/rest.txt"), 90));
}

// A FIFO at the name would hold the window's start; a link's target is neither read nor
// replaced. Both stay as they are and no rest length is offered.
TEST(RestClock, RestLengthOnlyFromARegularFile) {
    ::alarm(60);  // a FIFO waited on ends the test here
    TempLayout layout;
    const QString path = layout.programFolder() + QStringLiteral("/rest_length.txt");
    const QByteArray name = QFile::encodeName(path);
    const QString target = layout.programFolder() + QStringLiteral("/elsewhere.txt");
    QFile elsewhere(target);
    ASSERT_TRUE(elsewhere.open(QIODevice::WriteOnly));
    ASSERT_EQ(elsewhere.write("90\r\n"), 4);
    elsewhere.close();

    ASSERT_EQ(::mkfifo(name.constData(), 0600), 0);
    EXPECT_EQ(LoadRestLength(path), 0);
    EXPECT_FALSE(SaveRestLength(path, 120));
    struct stat info {};
    ASSERT_EQ(::lstat(name.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    ASSERT_EQ(::unlink(name.constData()), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), name.constData()), 0);
    EXPECT_EQ(LoadRestLength(path), 0);
    EXPECT_FALSE(SaveRestLength(path, 120));
    ASSERT_EQ(::lstat(name.constData(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_TRUE(elsewhere.open(QIODevice::ReadOnly));
    EXPECT_EQ(elsewhere.readAll(), "90\r\n");
    ::alarm(0);
}

}  // namespace
}  // namespace sorvenka::testing
