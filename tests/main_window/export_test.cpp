// "出力": the record list as shown, written byte for byte in Shift_JIS into the rec folder.
#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include "entry_window_fixture.h"

namespace sorvenka::testing {
namespace {

const QString kBlanks45(45, QLatin1Char(' '));

QString Blanks(int count) {
    return QString(count, QLatin1Char(' '));
}

// The expected file, encoded by Qt's own Shift_JIS codec rather than the program's.
QByteArray ShiftJisFile(const QStringList& lines) {
    QStringEncoder encoder("Shift_JIS");
    EXPECT_TRUE(encoder.isValid());
    QByteArray bytes;
    for (const QString& line : lines) bytes += encoder.encode(line) + QByteArray("\r\n");
    return bytes;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return file.readAll();
}

class Export : public EntryWindowTest {
  protected:
    void SetUp() override {
        EntryWindowTest::SetUp();
        fx.layout.exec(QStringLiteral(
            "insert into t_exer values"
            "('2024/05/14','01','01',1,'08:10:00','08:11:35',60,'kg',10,'回',null,null,'2',"
            "'良い感じ\r\n次は65kg'),"
            "('2024/05/12','07','02',1,'','',5,'km',null,'',30,0,'3','')"));
        w->RefreshRecordList();
    }
    QString rec(const QString& name) const {
        return fx.layout.folder(QStringLiteral("rec")) + QLatin1Char('/') + name;
    }
    QStringList recFiles() const {
        return QDir(fx.layout.folder(QStringLiteral("rec"))).entryList(QDir::Files);
    }

    // The visible parts of the two sets, without key part and trailing blanks.
    const QString benchLine = Blanks(14) + QStringLiteral("胸_ベンチプレス") + Blanks(13) +
                              QStringLiteral(" 1 08:10:00-08:11:35(  1分35秒)    60kg  10回") +
                              Blanks(5) + QStringLiteral("普通");
    const QString runLine = Blanks(14) + QStringLiteral("有酸素_ランニング") + Blanks(11) +
                            QStringLiteral(" 1 ") + Blanks(8) + QStringLiteral("-") + Blanks(8) +
                            Blanks(12) + QStringLiteral("    5km  30分 0秒 多い");
};

TEST_F(Export, ProposedNameAcceptedWritesTheListAsShownThenPlaysAndOpens) {
    selectRecord({kToday, QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("1")});
    const EntryState before(*w);

    w->cmdFile->click();

    ASSERT_EQ(fx.platform.inputsAsked.size(), 1u);
    EXPECT_EQ(fx.platform.inputsAsked[0].prompt,
              QStringLiteral("出力するファイル名を指定してください"));
    EXPECT_EQ(fx.platform.inputsAsked[0].title, QStringLiteral("出力ファイル名を指定"));
    EXPECT_EQ(fx.platform.inputsAsked[0].defaultText, QStringLiteral("Rec2024_0514_1_desc.txt"));
    EXPECT_TRUE(fx.platform.shown.empty());

    const QString path = rec(QStringLiteral("Rec2024_0514_1_desc.txt"));
    EXPECT_EQ(ReadAll(path), ShiftJisFile({
                                 QStringLiteral("2024/05/14(火)"),
                                 benchLine,
                                 kBlanks45 + QStringLiteral("良い感じ"),
                                 kBlanks45 + QStringLiteral("次は65kg"),
                                 QStringLiteral("2024/05/13(月)"),
                                 QStringLiteral("2024/05/12(日)"),
                                 runLine,
                                 QStringLiteral("2024/05/11(土)"),
                                 QStringLiteral("2024/05/10(金)"),
                                 QStringLiteral("2024/05/09(木)"),
                                 QStringLiteral("2024/05/08(水)"),
                             }));
    EXPECT_EQ(fx.platform.played,
              std::vector<QString>{fx.layout.base() + QStringLiteral("/wav/start.wav")});
    EXPECT_EQ(fx.platform.opened, std::vector<QString>{path});
    EXPECT_EQ(EntryState(*w), before);  // the list, its selection and every field stay
}

TEST_F(Export, TypedNameAscendingWithoutCommentsReplacesAnOldFile) {
    w->optOrder[0]->click();
    w->optComment[0]->click();
    const QString path = rec(QStringLiteral("mine.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4000, 'x'));
    }
    fx.platform.inputs = {QStringLiteral("mine.txt")};

    w->cmdFile->click();

    EXPECT_EQ(fx.platform.inputsAsked[0].defaultText, QStringLiteral("Rec2024_0514_1_asc.txt"));
    EXPECT_TRUE(fx.platform.shown.empty());  // replaced without a question
    EXPECT_EQ(ReadAll(path), ShiftJisFile({
                                 QStringLiteral("2024/05/08(水)"),
                                 QStringLiteral("2024/05/09(木)"),
                                 QStringLiteral("2024/05/10(金)"),
                                 QStringLiteral("2024/05/11(土)"),
                                 QStringLiteral("2024/05/12(日)"),
                                 runLine,
                                 QStringLiteral("2024/05/13(月)"),
                                 QStringLiteral("2024/05/14(火)"),
                                 benchLine,
                             }));
    EXPECT_EQ(recFiles(), QStringList{QStringLiteral("mine.txt")});
    EXPECT_EQ(fx.platform.opened, std::vector<QString>{path});
}

TEST_F(Export, CancelOrAnEmptyNameWritesNothing) {
    fx.platform.inputs = {QString()};
    w->cmdFile->click();
    EXPECT_EQ(fx.platform.inputsAsked.size(), 1u);
    EXPECT_TRUE(recFiles().isEmpty());
    EXPECT_TRUE(fx.platform.played.empty());
    EXPECT_TRUE(fx.platform.opened.empty());
    EXPECT_TRUE(fx.platform.shown.empty());
}

TEST_F(Export, AnEmptyListGivesAnEmptyFile) {
    w->txtWeekNum->setText(QStringLiteral("0"));
    w->RefreshRecordList();
    ASSERT_EQ(w->lstRecord->count(), 0);
    w->cmdFile->click();
    const QString path = rec(QStringLiteral("Rec2024_0514_0_desc.txt"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(ReadAll(path), QByteArray());
    EXPECT_EQ(fx.platform.opened, std::vector<QString>{path});
}

// The week count goes into the name as typed, however large; a date field that holds no day
// gives a name without the date part, and the export goes on with the list as shown.
TEST_F(Export, NameWithoutValidDateOrWithAHugeWeekCountStillExports) {
    const int lines = w->lstRecord->count();
    w->txtYmd->setText(QStringLiteral("2024/05/3"));  // half typed: the list stays
    ASSERT_EQ(w->lstRecord->count(), lines);
    w->txtWeekNum->setText(QStringLiteral("99999999999"));
    w->cmdFile->click();
    EXPECT_EQ(fx.platform.inputsAsked[0].defaultText, QStringLiteral("Rec99999999999_desc.txt"));
    EXPECT_EQ(recFiles(), QStringList{QStringLiteral("Rec99999999999_desc.txt")});
    EXPECT_EQ(ReadAll(rec(QStringLiteral("Rec99999999999_desc.txt"))).count("\r\n"), lines);
}

// Names that would leave the rec folder, and files that cannot be written, are reported; the
// window, the list and the database stay as they were and nothing is played or opened.
TEST_F(Export, NamesOutsideTheFolderAndFailedWritesAreReported) {
    QDir(fx.layout.folder(QStringLiteral("rec"))).mkdir(QStringLiteral("taken.txt"));
    struct Case {
        const char* name;
        const char16_t* messageStart;
    };
    const Case cases[] = {
        {"../escape.txt", u"ファイル名が正しくありません。"},
        {"sub/x.txt", u"ファイル名が正しくありません。"},
        {"..", u"ファイル名が正しくありません。"},
        {".", u"ファイル名が正しくありません。"},
        {"..\\escape.txt", u"ファイル名が正しくありません。"},
        {"taken.txt", u"ファイルを"},  // a folder of that name is in the way
        {"very_long_name_that_no_file_system_takes_xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
         ".txt",
         u"ファイルを"},
    };
    selectRecord({kToday, QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("1")});
    const EntryState before(*w);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fx.platform.shown.clear();
        fx.platform.inputs = {QString::fromUtf8(c.name)};
        w->cmdFile->click();
        ASSERT_EQ(fx.platform.shown.size(), 1u);
        EXPECT_TRUE(fx.platform.shown[0].text.startsWith(QString::fromUtf16(c.messageStart)))
            << fx.platform.shown[0].text.toStdString();
        EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::Ok);
        EXPECT_EQ(EntryState(*w), before);
    }
    EXPECT_TRUE(recFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(fx.layout.base() + QStringLiteral("/escape.txt")));
    EXPECT_TRUE(fx.platform.played.empty());
    EXPECT_TRUE(fx.platform.opened.empty());
    EXPECT_EQ(storedSets(), 2);
}

// A link in rec pointing out of it: refused with a message, the link and its target untouched,
// nothing played or opened.
TEST_F(Export, ALinkInTheRecFolderIsRefused) {
    const QString outside = fx.layout.base() + QStringLiteral("/outside.txt");
    ASSERT_TRUE(QFile::link(outside, rec(QStringLiteral("link.txt"))));
    fx.platform.inputs = {QStringLiteral("link.txt")};
    w->cmdFile->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_TRUE(fx.platform.shown[0].text.startsWith(
        QStringLiteral("ファイルを作成できませんでした。\r\n") + rec(QStringLiteral("link.txt"))));
    EXPECT_FALSE(QFileInfo::exists(outside));
    EXPECT_EQ(QFileInfo(rec(QStringLiteral("link.txt"))).symLinkTarget(), outside);
    EXPECT_TRUE(fx.platform.played.empty());
    EXPECT_TRUE(fx.platform.opened.empty());
}

TEST_F(Export, MissingRecFolderIsReported) {
    ASSERT_TRUE(QDir(fx.layout.folder(QStringLiteral("rec"))).removeRecursively());
    const EntryState before(*w);
    w->cmdFile->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].text, QStringLiteral("出力先のフォルダがありません。\r\n") +
                                             fx.layout.folder(QStringLiteral("rec")));
    EXPECT_FALSE(QFileInfo::exists(fx.layout.folder(QStringLiteral("rec"))));
    EXPECT_TRUE(fx.platform.opened.empty());
    EXPECT_EQ(EntryState(*w), before);
    EXPECT_EQ(storedSets(), 2);
}

}  // namespace
}  // namespace sorvenka::testing
