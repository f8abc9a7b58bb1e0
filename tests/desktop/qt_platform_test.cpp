// The desktop side of the seam: message boxes show their text as typed, and the wait for the
// export's sound holds the user's input back until it ends.
#include "desktop/qt_platform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "desktop/wave_player.h"

namespace sorvenka::testing {
namespace {

// Texts that a rich-text guess would render as markup: a comment or a file name as typed.
TEST(QtPlatformMessage, TextsShowAsTypedNeverAsMarkup) {
    const QString texts[] = {
        QStringLiteral("<b>太字</b>のコメント"),
        QStringLiteral("<html><body>Rec<1>.txt</body></html>"),
        QStringLiteral("a &amp; b <br> c\r\n<i>2行目</i>"),
    };
    QtPlatform desktop;
    Platform& platform = desktop;
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        // The box is modal: read it and press its OK once it is up.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            ASSERT_NE(label, nullptr);
            shown = label->text();
            format = label->textFormat();
            box->button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(platform.message(text), Answer::Ok);
        EXPECT_EQ(format, Qt::PlainText);
        EXPECT_EQ(shown, text);
    }
}

// Input reaches a program through the window system, which a headless run does not have:
// the wait is tried in a child of this test that runs under a virtual X server, where a
// click is sent as the user's pointer would send it.
const char kUnderX[] = "SORVENKA_TEST_UNDER_X";

TEST(WaitForTheSound, AClickWhileItPlaysWaitsUntilTheEnd) {
    if (!qEnvironmentVariableIsSet(kUnderX)) GTEST_SKIP() << "runs in the child under X";
    QPushButton button(QStringLiteral("登録"));
    button.setGeometry(100, 100, 120, 60);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    const QPoint centre = button.mapToGlobal(button.rect().center());

    QEventLoop loop;
    int clicksDuringTheWait = -1;
    bool otherEventsRan = false;
    QTimer::singleShot(0, [&] {
        // The user clicks while the sound plays.
        QProcess::execute(
            QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(centre.x()), QString::number(centre.y()),
             QStringLiteral("click"), QStringLiteral("1")});
        // The sound ends a while later; the sound's own events go on meanwhile.
        QTimer::singleShot(200, [&] { otherEventsRan = true; });
        QTimer::singleShot(500, [&] {
            clicksDuringTheWait = clicks;
            loop.quit();
        });
    });
    waitHoldingUserInput(loop);

    EXPECT_TRUE(otherEventsRan);
    EXPECT_EQ(clicksDuringTheWait, 0);
    // The click was kept, not dropped: it arrives once the wait is over.
    const QDeadlineTimer deadline(3000);
    while (clicks == 0 && !deadline.hasExpired()) QTest::qWait(20);
    QTest::qWait(100);
    EXPECT_EQ(clicks, 1);
}

TEST(WaitForTheSound, UserInputIsHeldBackUntilTheEnd) {
    if (qEnvironmentVariableIsSet(kUnderX)) GTEST_SKIP() << "starts the child under X";
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "needs Xvfb and xdotool";

    // A free display, told on the server's standard output.
    QProcess server;
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    ASSERT_TRUE(server.waitForReadyRead(10000));
    const QString display = QLatin1Char(':') + QString::fromLatin1(server.readLine()).trimmed();

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kUnderX), QStringLiteral("1"));
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // Under the sanitizers: the X platform's D-Bus library keeps a buffer to the end of the
    // process, which is not this program's to free.
    const QString asanOptions = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       (asanOptions.isEmpty() ? QString() : asanOptions + QLatin1Char(':')) +
                           QStringLiteral("detect_leaks=0"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_filter=WaitForTheSound.AClickWhileItPlaysWaitsUntilTheEnd")});
    const bool finished = child.waitForFinished(60000);
    const QString output = QString::fromLocal8Bit(child.readAll());
    server.terminate();
    server.waitForFinished(5000);

    ASSERT_TRUE(finished) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

}  // namespace
}  // namespace sorvenka::testing
