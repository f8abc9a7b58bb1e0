// Qt's own Japanese translation loaded at start: the buttons of the program's message boxes
// and input box, and the file dialog, speak Japanese; a folder without it changes nothing.
#include "desktop/qt_translation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "desktop/qt_platform.h"

namespace sorvenka::testing {
namespace {

// A button's caption without its keyboard mnemonic: "はい(&Y)" reads "はい".
QString Caption(const QAbstractButton* button) {
    QString text = button->text();
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
    return text;
}

// The captions of the modal box that the platform shows for the buttons, read while it is up.
QStringList ShownButtons(Buttons buttons) {
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons()) captions << Caption(button);
        box->buttons().first()->click();
    });
    QtPlatform desktop;
    static_cast<Platform&>(desktop).message(QStringLiteral("よろしいですか？"), buttons);
    captions.sort();
    return captions;
}

TEST(QtJapanese, AbsentTranslationLeavesQtsEnglish) {
    QTemporaryDir empty;
    EXPECT_FALSE(InstallQtJapanese(*qApp, empty.path()));
    EXPECT_EQ(ShownButtons(Buttons::YesNo), QStringList({"No", "Yes"}));
}

TEST(QtJapanese, MessageBoxInputBoxAndFileDialogSpeakJapanese) {
    ASSERT_TRUE(InstallQtJapanese(*qApp)) << "qt6-translations-l10n is not installed";
    EXPECT_EQ(ShownButtons(Buttons::YesNo), QStringList({"いいえ", "はい"}));
    EXPECT_EQ(ShownButtons(Buttons::OkCancel), QStringList({"OK", "キャンセル"}));
    EXPECT_EQ(ShownButtons(Buttons::Ok), QStringList({"OK"}));

    QInputDialog input;
    input.show();  // builds its buttons
    const auto* buttons = input.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(Caption(buttons->button(QDialogButtonBox::Cancel)), QStringLiteral("キャンセル"));

    // Qt's own file dialog (the desktop's may stand in for it on a real desktop).
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptOpen);
    const auto* fileButtons = files.findChild<QDialogButtonBox*>();
    ASSERT_NE(fileButtons, nullptr);
    EXPECT_EQ(Caption(fileButtons->button(QDialogButtonBox::Cancel)), QStringLiteral("キャンセル"));
    EXPECT_EQ(Caption(fileButtons->button(QDialogButtonBox::Open)), QStringLiteral("開く"));
}

}  // namespace
}  // namespace sorvenka::testing
