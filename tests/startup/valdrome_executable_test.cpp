// Starts the built program itself in a temporary folder layout (headless) for the start-up
// paths that show no message box.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <memory>

#include "backups/day_copy.h"
#include "backups/verified_copies.h"
#include "common/paths.h"
#include "startup/test_files.h"
#include "support/program_version.h"
#include "support/temp_layout.h"

namespace sorvenka::testing {
namespace {

constexpr int kStartTimeoutMilliseconds = 60000;

// A layout whose program folder holds a copy of the built executable.
struct ProgramLayout {
    TempLayout layout;
    QString program = JoinPath(layout.programFolder(), QStringLiteral("Valdrome"));
    QString logPath = JoinPath(layout.programFolder(), QStringLiteral("Valdrome_log.txt"));
    QString backups = layout.folder(QStringLiteral("db_backup"));

    bool install() const {
        const QString built = qEnvironmentVariable("VALDROME_EXE");
        return !built.isEmpty() && QFile::copy(built, program);
    }
    // The path the program itself sees (symbolic links of the temporary folder resolved).
    QString realBase() const { return QFileInfo(layout.base()).canonicalFilePath(); }

    // Starts the copy in the program folder, or the given executable with the program folder
    // named by the launcher's variable.
    std::unique_ptr<QProcess> start(const QString& executable = QString()) const {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QString::fromLatin1(kProgramFolderVariable));
        if (!executable.isEmpty())
            environment.insert(QString::fromLatin1(kProgramFolderVariable), layout.programFolder());
        process->setProcessEnvironment(environment);
        process->setProgram(executable.isEmpty() ? program : executable);
        process->start();
        process->waitForStarted(kStartTimeoutMilliseconds);
        return process;
    }
    // Waits until the log holds the text; false when the time is up.
    bool waitForLog(const QString& text) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < kStartTimeoutMilliseconds) {
            if (QString::fromUtf8(ReadBytes(logPath)).contains(text)) return true;
            QThread::msleep(20);
        }
        return false;
    }
};

// The files of the backup folder, without the record of checked copies.
QStringList BackupFiles(const QString& folder) {
    QStringList names = FileNames(folder);
    names.removeAll(VerifiedCopies::kRecordName);
    return names;
}

void Kill(QProcess& process) {
    process.kill();
    process.waitForFinished(10000);
}

// The day stamps this test may see: the program reads the clock between these two readings.
QStringList DayStampsAround(const QDateTime& before) {
    return {DayStamp(before), DayStamp(QDateTime::currentDateTime())};
}

TEST(ValdromeExecutable, AMissingDataFolderIsLoggedAndEndsWithoutWindow) {
    // db_backup and rec are both missing: only db_backup, the first of them, is reported.
    ProgramLayout p;
    ASSERT_TRUE(p.install()) << "VALDROME_EXE not set or not copied";
    ASSERT_TRUE(QDir(p.layout.folder(QStringLiteral("db_backup"))).removeRecursively());
    ASSERT_TRUE(QDir(p.layout.folder(QStringLiteral("rec"))).removeRecursively());
    const QDate before = QDate::currentDate();
    auto process = p.start();
    ASSERT_TRUE(process->waitForFinished(kStartTimeoutMilliseconds)) << "no end: a window?";
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(process->exitCode(), 0);

    const QStringList lines = ReadCrLfLines(p.logPath);
    ASSERT_EQ(lines.size(), 7) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Valdrome.exe\u3000") + ExpectedVersionText());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2}\\([日月火水木金土]\\)$"))
                    .match(lines[1])
                    .hasMatch())
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].startsWith(before.toString(QStringLiteral("yyyy/MM/dd"))) ||
                lines[1].startsWith(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"))));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d{2}:\\d{2}:\\d{2} 次のフォルダが存在しません。$"))
            .match(lines[2])
            .hasMatch())
        << lines[2].toStdString();
    EXPECT_EQ(lines.mid(3),
              (QStringList{QStringLiteral("次のフォルダを作成してください。"), QString(),
                           QStringLiteral("\u3000") + p.realBase() + QStringLiteral("/db_backup"),
                           QString()}));
}

TEST(ValdromeExecutable, TheFirstStartOfADayBacksUpAndPrunesAndLaterStartsOnlyPrune) {
    ProgramLayout p;
    ASSERT_TRUE(p.install()) << "VALDROME_EXE not set or not copied";
    QStringList old;
    for (int day = 1; day <= 20; ++day) {
        old << QStringLiteral("exercise_2000_01%1-0800_00.sqlite3")
                   .arg(day, 2, 10, QLatin1Char('0'));
        ASSERT_TRUE(QFile::copy(p.layout.dbPath(), JoinPath(p.backups, old.back())));
    }

    const QDateTime before = QDateTime::currentDateTime();
    auto first = p.start();
    // The program opens the database after the backup and goes on to its window.
    ASSERT_TRUE(p.waitForLog(QStringLiteral("DBOpenDB"))) << "the first start did not get there";
    Kill(*first);

    const QStringList afterFirst = BackupFiles(p.backups);
    EXPECT_EQ(afterFirst.size(), 20);
    EXPECT_FALSE(afterFirst.contains(old.first()));
    EXPECT_EQ(afterFirst.mid(0, 19), old.mid(1));
    const QString copy = afterFirst.value(19);
    const QStringList stamps = DayStampsAround(before);
    EXPECT_TRUE(copy.startsWith(QStringLiteral("exercise") + stamps[0] + QLatin1Char('-')) ||
                copy.startsWith(QStringLiteral("exercise") + stamps[1] + QLatin1Char('-')))
        << copy.toStdString();
    EXPECT_EQ(Contents(JoinPath(p.backups, copy)), Contents(p.layout.dbPath()));
    EXPECT_EQ(IntegrityCheck(JoinPath(p.backups, copy)), QStringLiteral("ok"));

    // Killed instances leave no lock behind: the second start runs and writes a new log.
    ASSERT_TRUE(QFile::remove(p.logPath));
    auto second = p.start();
    ASSERT_TRUE(p.waitForLog(QStringLiteral("DBOpenDB"))) << "the second start did not get there";
    Kill(*second);
    if (DayStamp(QDateTime::currentDateTime()) == DayStamp(before)) {
        EXPECT_EQ(BackupFiles(p.backups), afterFirst);
    }
}

// Started without the launcher, with the database gone and the day's copy already taken: each
// start says the database is missing (and offers the copy); none leaves an empty file in its
// place, which would keep the launcher from ever making a first database.
TEST(ValdromeExecutable, AMissingDatabaseIsNeverCreatedByAStart) {
    ProgramLayout p;
    ASSERT_TRUE(p.install()) << "VALDROME_EXE not set or not copied";
    const QString today = QStringLiteral("exercise") + DayStamp(QDateTime::currentDateTime()) +
                          QStringLiteral("-0000_00.sqlite3");
    ASSERT_TRUE(QFile::copy(p.layout.dbPath(), JoinPath(p.backups, today)));
    ASSERT_TRUE(QFile::remove(p.layout.dbPath()));
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        ASSERT_TRUE(QFile::remove(p.logPath) || start == 1);
        auto process = p.start();
        // The question waits for an answer: the start got as far as it goes without one.
        ASSERT_TRUE(p.waitForLog(QStringLiteral("database missing")));
        Kill(*process);
        EXPECT_FALSE(QFileInfo::exists(p.layout.dbPath()));
    }
}

TEST(ValdromeExecutable, AProgramFolderNamedByTheLauncherHoldsLogAndLockAndItsParentTheData) {
    // The executable stays where it was built, as an installed one stays in its system folder.
    ProgramLayout p;
    const QString built = qEnvironmentVariable("VALDROME_EXE");
    ASSERT_FALSE(built.isEmpty()) << "VALDROME_EXE not set";
    const QString builtFolder = QFileInfo(built).absolutePath();
    const QDateTime before = QDateTime::currentDateTime();
    auto process = p.start(built);
    ASSERT_TRUE(p.waitForLog(QStringLiteral("DBOpenDB"))) << "no log in the named folder";
    EXPECT_TRUE(
        QFileInfo::exists(JoinPath(p.layout.programFolder(), QStringLiteral("Valdrome.lock"))));
    const QStringList backups = BackupFiles(p.backups);
    ASSERT_EQ(backups.size(), 1);
    const QStringList stamps = DayStampsAround(before);
    EXPECT_TRUE(backups[0].startsWith(QStringLiteral("exercise") + stamps[0]) ||
                backups[0].startsWith(QStringLiteral("exercise") + stamps[1]))
        << backups[0].toStdString();
    Kill(*process);
    EXPECT_FALSE(QFileInfo::exists(JoinPath(builtFolder, QStringLiteral("Valdrome_log.txt"))));
    EXPECT_FALSE(QFileInfo::exists(JoinPath(builtFolder, QStringLiteral("Valdrome.lock"))));
}

TEST(ValdromeExecutable, ASecondInstanceLeavesTheRunningOnesLogAlone) {
    ProgramLayout p;
    ASSERT_TRUE(p.install()) << "VALDROME_EXE not set or not copied";
    QElapsedTimer firstStart;
    firstStart.start();
    auto first = p.start();
    ASSERT_TRUE(p.waitForLog(QStringLiteral("DBOpenDB")));
    const qint64 startTime = firstStart.elapsed();
    const QByteArray runningLog = ReadBytes(p.logPath);

    // The refused start shows its message box, which waits for a click; until then, and for
    // several times as long as the first start needed to write its log, the log must not move.
    auto second = p.start();
    ASSERT_EQ(second->state(), QProcess::Running);
    QElapsedTimer watched;
    watched.start();
    const qint64 watchFor = std::max<qint64>(3000, 4 * startTime);
    while (watched.elapsed() < watchFor && second->state() != QProcess::NotRunning) {
        ASSERT_EQ(ReadBytes(p.logPath), runningLog);
        second->waitForFinished(20);
    }
    EXPECT_EQ(ReadBytes(p.logPath), runningLog);
    if (second->state() == QProcess::NotRunning) {
        EXPECT_NE(second->exitCode(), 0);
    }
    Kill(*second);
    first->waitForFinished(0);
    EXPECT_EQ(first->state(), QProcess::Running);  // the running instance goes on
    Kill(*first);
}

}  // namespace
}  // namespace sorvenka::testing
