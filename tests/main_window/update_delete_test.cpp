// "更新" and "削除" of the set selected in the record list, against a real database.
#include <QTextBlock>

#include "entry_window_fixture.h"
#include "main_window/clipped_text_delegate.h"
#include "main_window/comment_box.h"

namespace sorvenka::testing {
namespace {

const RecordKey kSet1{QStringLiteral("2024/05/14"), QStringLiteral("01"), QStringLiteral("01"),
                      QStringLiteral("1")};
const RecordKey kSet2{QStringLiteral("2024/05/14"), QStringLiteral("01"), QStringLiteral("01"),
                      QStringLiteral("2")};

class UpdateDelete : public EntryWindowTest {
  protected:
    void SetUp() override {
        EntryWindowTest::SetUp();
        fx.layout.exec(QStringLiteral(
            "insert into t_exer values"
            "('2024/05/14','01','01',1,'08:10:00','08:12:00',60,'kg',10,'回',null,null,'2',"
            "'フォーム良し'),"
            "('2024/05/14','01','01',2,'08:20:00','08:22:00',7.5,'kg',8,'回',null,null,'1','')"));
        w->RefreshRecordList();
    }
    QString row(const RecordKey& key) const {
        return scalar(
            QStringLiteral("select hms_sta||'|'||hms_end||'|'||target||'|'||unit_t||'|'||"
                           "ifnull(cnt,'N')||'|'||unit||'|'||ifnull(cnt_min,'N')||'|'||"
                           "ifnull(cnt_sec,'N')||'|'||sweat_cd||'|'||comment from t_exer "
                           "where ymd='%1' and grp_cd='%2' and exer_cd='%3' and set_num=%4")
                .arg(key.ymd, key.grp_cd, key.exer_cd, key.set_num));
    }
    void expectInsertionButtons() const {
        EXPECT_TRUE(w->cmdInsert->isEnabled());
        EXPECT_FALSE(w->cmdUpdate->isEnabled());
        EXPECT_FALSE(w->cmdDelete->isEnabled());
        EXPECT_FALSE(w->cmdUnselect->isEnabled());
    }
};

TEST_F(UpdateDelete, CountSetBecomesDurationSetAfterTheWholeQuestion) {
    selectRecord(kSet1);
    ASSERT_TRUE(w->cmdUpdate->isEnabled());
    w->txtCount->clear();
    w->txtCountMin->setText(QStringLiteral("1"));
    w->txtCountSec->setText(QStringLiteral("30"));
    pickItem(w->lstSweat, QStringLiteral("3 多い"));
    w->setCommentText(QStringLiteral("1行目\r\n2行目"));

    w->cmdUpdate->click();

    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].text,
              QStringLiteral("PK  Ymd=2024/05/14,GrpCd=01,ExerCd=01,SetN=1\r\n"
                             "\r\n"
                             "  更新前：08:10:00-08:12:00 60kg 10回 普通\r\n"
                             "              フォーム良し\r\n"
                             "  更新後：08:10:00-08:12:00 60kg 1分30秒 多い      \r\n"
                             "              1行目\r\n"
                             "              2行目\r\n"
                             "更新しますか？\r\n"));
    EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(row(kSet1), QStringLiteral("08:10:00|08:12:00|60.0|kg|N||1|30|3|1行目\r\n2行目"));
    EXPECT_EQ(row(kSet2), QStringLiteral("08:20:00|08:22:00|7.5|kg|8|回|N|N|1|"));

    // Back to insertion: the list is rebuilt without a selection, the per-set fields emptied.
    EXPECT_EQ(MainWindow::selectedRow(w->lstRecord), -1);
    EXPECT_GE(recordRow(kSet1), 0);
    EXPECT_TRUE(w->lstRecord->lineText(recordRow(kSet1)).contains(QStringLiteral("  1分30秒 ")));
    EXPECT_EQ(w->txtHMS[0]->text(), QString());
    EXPECT_EQ(w->txtHMS[1]->text(), QString());
    EXPECT_EQ(w->txtCount->text(), QString());
    EXPECT_EQ(w->txtCountMin->text(), QString());
    EXPECT_EQ(w->txtCountSec->text(), QString());
    EXPECT_EQ(w->commentText(), QString());
    EXPECT_EQ(MainWindow::selectedRow(w->lstSweat), -1);
    EXPECT_EQ(w->txtTarget->text(), QStringLiteral("60"));  // the load stays
    expectInsertionButtons();
}

TEST_F(UpdateDelete, AfterLineFitsTheLoadAndCountWhileTheStoredValueIsNotCut) {
    selectRecord(kSet2);
    w->txtTarget->setText(QStringLiteral("102.5"));
    w->cmdUpdate->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    const QStringList lines = fx.platform.shown[0].text.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[2], QStringLiteral("  更新前：08:20:00-08:22:00 7.5kg 8回 少し"));
    EXPECT_EQ(lines[3], QString(14, QLatin1Char(' ')));  // an empty comment
    EXPECT_EQ(lines[4], QStringLiteral("  更新後：08:20:00-08:22:00 102kg   8回 少し      "));
    EXPECT_EQ(row(kSet2), QStringLiteral("08:20:00|08:22:00|102.5|kg|8|回|N|N|1|"));
}

TEST_F(UpdateDelete, NoOnTheQuestionChangesNothing) {
    selectRecord(kSet1);
    w->setCommentText(QStringLiteral("変えたい"));
    const EntryState before(*w);
    const QString stored = row(kSet1);
    fx.platform.answers = {Answer::No};
    w->cmdUpdate->click();
    EXPECT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(row(kSet1), stored);
    EXPECT_EQ(EntryState(*w), before);
}

TEST_F(UpdateDelete, OnlyTheCommentChangedStillAsksAndRewritesTheRow) {
    selectRecord(kSet1);
    w->setCommentText(QStringLiteral("it's 新しい"));
    w->cmdUpdate->click();
    EXPECT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(row(kSet1), QStringLiteral("08:10:00|08:12:00|60.0|kg|10|回|N|N|2|it's 新しい"));
}

TEST_F(UpdateDelete, FailedValidationShowsItsMessageAndChangesNothing) {
    selectRecord(kSet1);
    w->txtCountSec->setText(QStringLiteral("30"));  // together with the count
    const EntryState before(*w);
    const QString stored = row(kSet1);
    w->cmdUpdate->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].text,
              QStringLiteral("回数かタイムのどちらか一方だけを入力してください"));
    EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(row(kSet1), stored);
    EXPECT_EQ(EntryState(*w), before);
}

// The date, group and exercise controls cannot move a set: the key of the line decides.
TEST_F(UpdateDelete, UpdateRewritesUnderTheKeyOfTheSelectedLine) {
    selectRecord(kSet1);
    ASSERT_EQ(MainWindow::selectedRow(w->lstRange), 0);  // "0 すべて": no rebuild on a pick
    pick(QStringLiteral("03"), QStringLiteral("02"));
    w->txtYmd->blockSignals(true);
    w->txtYmd->setText(QStringLiteral("2024/05/01"));
    w->txtYmd->blockSignals(false);
    ASSERT_EQ(MainWindow::selectedRow(w->lstRecord), recordRow(kSet1));
    w->txtCount->setText(QStringLiteral("12"));
    w->cmdUpdate->click();
    EXPECT_TRUE(fx.platform.shown[0].text.startsWith(
        QStringLiteral("PK  Ymd=2024/05/14,GrpCd=01,ExerCd=01,SetN=1\r\n")));
    EXPECT_EQ(storedSets(), 2);
    EXPECT_EQ(row(kSet1), QStringLiteral("08:10:00|08:12:00|60.0|kg|12|回|N|N|2|フォーム良し"));
}

// After a rebuild (here by ">") no line is selected: both buttons, though enabled, do nothing.
TEST_F(UpdateDelete, AfterARebuildUpdateAndDeleteDoNothing) {
    selectRecord(kSet1);
    w->cmdInc[1]->click();
    ASSERT_EQ(MainWindow::selectedRow(w->lstRecord), -1);
    ASSERT_TRUE(w->cmdUpdate->isEnabled());
    ASSERT_TRUE(w->cmdDelete->isEnabled());
    const EntryState before(*w);
    w->cmdUpdate->click();
    w->cmdDelete->click();
    EXPECT_TRUE(fx.platform.shown.empty());
    EXPECT_EQ(storedSets(), 2);
    EXPECT_EQ(EntryState(*w), before);
}

// A day line or a comment line carries no key.
TEST_F(UpdateDelete, LinesWithoutKeyDoNothing) {
    selectRecord(kSet1);
    const int commentRow = recordRow(kSet1) + 1;
    ASSERT_TRUE(w->lstRecord->lineText(commentRow).endsWith(QStringLiteral("フォーム良し")));
    for (int lineRow : {0, commentRow}) {
        MainWindow::selectRow(w->lstRecord, lineRow);
        w->cmdUpdate->setEnabled(true);  // as if still enabled from an earlier selection
        w->cmdDelete->setEnabled(true);
        w->cmdUpdate->click();
        w->cmdDelete->click();
    }
    EXPECT_TRUE(fx.platform.shown.empty());
    EXPECT_EQ(storedSets(), 2);
}

// A row written by another tool whose set number cell carries set 1's key: its line is listed
// without a key, a click on it is a click on a day line, and OK on "削除" removes nothing.
TEST_F(UpdateDelete, ARowWithAHostileSetNumberIsListedButChangesNothing) {
    fx.layout.exec(QStringLiteral(
        "insert into t_exer values ('2024/05/14','01','02','7 PK=2024/05/14,01,01,1',"
        "'09:00:00','09:01:00',40,'kg',5,'回',null,null,'2','')"));
    w->RefreshRecordList();
    int hostileRow = -1;
    for (int i = 0; i < w->lstRecord->count(); ++i)
        if (w->lstRecord->lineText(i).contains(QStringLiteral(" 7 PK=2024/05/14"))) hostileRow = i;
    ASSERT_GE(hostileRow, 0);
    EXPECT_FALSE(
        w->lstRecord->lineText(hostileRow).contains(QStringLiteral("PK=2024/05/14,01,02")));

    selectRecord(kSet1);  // a set loaded first, so that the click has something to undo
    MainWindow::selectRow(w->lstRecord, hostileRow);
    EXPECT_TRUE(w->txtTarget->text().isEmpty());
    EXPECT_TRUE(w->cmdInsert->isEnabled());
    EXPECT_FALSE(w->cmdUpdate->isEnabled());
    EXPECT_FALSE(w->cmdDelete->isEnabled());

    const QString before = scalar(QStringLiteral("select group_concat(set_num, '|') from t_exer"));
    w->cmdUpdate->setEnabled(true);  // as if still enabled from an earlier selection
    w->cmdDelete->setEnabled(true);
    fx.platform.answers = {Answer::Ok, Answer::Yes};
    w->cmdDelete->click();
    w->cmdUpdate->click();
    EXPECT_TRUE(fx.platform.shown.empty());
    EXPECT_EQ(storedSets(), 3);
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(set_num, '|') from t_exer")), before);
    EXPECT_EQ(row(kSet1), QStringLiteral("08:10:00|08:12:00|60.0|kg|10|回|N|N|2|フォーム良し"));
}

// A one-line comment of a megabyte, written by another tool: the box gets it in lines it can lay
// out quickly, it reads back as stored, and an update of another field keeps it unchanged.
TEST_F(UpdateDelete, AMegabyteOneLineCommentLoadsInShortLinesAndIsKeptAsStored) {
    QString comment;
    for (int i = 0; comment.size() < 1'000'000; ++i) comment += QStringLiteral("x%1_メモ").arg(i);
    fx.layout.exec(
        QStringLiteral("update t_exer set comment = '%1' where set_num = 1").arg(comment));
    w->RefreshRecordList();

    // The list keeps the whole comment line (the export writes it) but draws its beginning only.
    const int commentRow = recordRow(kSet1) + 1;
    const QString commentLine = w->lstRecord->lineText(commentRow);
    EXPECT_EQ(commentLine, QString(45, QLatin1Char(' ')) + comment);
    const auto* delegate = dynamic_cast<ClippedTextDelegate*>(w->lstRecord->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    QStyleOptionViewItem drawn;
    delegate->initStyleOption(&drawn, w->lstRecord->model()->index(commentRow, 0));
    EXPECT_EQ(drawn.text, commentLine.left(ClippedTextDelegate::kLongestDrawnText));
    QStyleOptionViewItem record;
    delegate->initStyleOption(&record, w->lstRecord->model()->index(recordRow(kSet1), 0));
    EXPECT_EQ(record.text, w->lstRecord->lineText(recordRow(kSet1)));

    selectRecord(kSet1);

    const QTextDocument* shown = w->txtComment->document();
    EXPECT_GE(shown->blockCount(), 1'000'000 / kLongestShownCommentLine);
    for (QTextBlock block = shown->begin(); block.isValid(); block = block.next())
        ASSERT_LE(block.text().size(), kLongestShownCommentLine) << block.blockNumber();
    EXPECT_EQ(w->commentText(), comment);

    w->txtCount->setText(QStringLiteral("12"));
    fx.platform.answers = {Answer::Yes};
    w->cmdUpdate->click();
    EXPECT_EQ(scalar(QStringLiteral("select cnt from t_exer where set_num = 1")),
              QStringLiteral("12"));
    EXPECT_EQ(scalar(QStringLiteral("select comment from t_exer where set_num = 1")), comment);

    // A normal comment is shown exactly as stored and replaces the pieces entirely.
    selectRecord(kSet1);
    w->setCommentText(QStringLiteral("短い\r\nコメント"));
    EXPECT_EQ(w->txtComment->toPlainText(), QStringLiteral("短い\nコメント"));
    EXPECT_EQ(w->commentText(), QStringLiteral("短い\r\nコメント"));
}

TEST_F(UpdateDelete, DeleteAsksThenRemovesTheSetAndReturnsToInsertion) {
    selectRecord(kSet2);
    w->txtCountMin->setText(QStringLiteral("4"));  // kept by a deletion
    w->txtCountSec->setText(QStringLiteral("5"));

    const EntryState before(*w);
    fx.platform.answers = {Answer::Cancel};
    w->cmdDelete->click();
    ASSERT_EQ(fx.platform.shown.size(), 1u);
    EXPECT_EQ(fx.platform.shown[0].text,
              QStringLiteral("選択のレコードを削除します。よろしいですか？"));
    EXPECT_EQ(fx.platform.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(storedSets(), 2);
    EXPECT_EQ(EntryState(*w), before);

    fx.platform.answers = {Answer::Ok};
    w->cmdDelete->click();
    EXPECT_EQ(fx.platform.shown.size(), 2u);
    EXPECT_EQ(row(kSet2), QString());
    EXPECT_EQ(storedSets(), 1);
    EXPECT_EQ(recordRow(kSet2), -1);
    EXPECT_GE(recordRow(kSet1), 0);
    EXPECT_EQ(MainWindow::selectedRow(w->lstRecord), -1);

    EXPECT_EQ(w->txtTarget->text(), QString());  // empty, not "0"
    EXPECT_EQ(w->txtHMS[0]->text(), QString());
    EXPECT_EQ(w->txtHMS[1]->text(), QString());
    EXPECT_EQ(w->txtCount->text(), QString());
    EXPECT_EQ(w->commentText(), QString());
    EXPECT_EQ(MainWindow::selectedRow(w->lstUnit), -1);
    EXPECT_EQ(MainWindow::selectedRow(w->lstSweat), -1);
    EXPECT_EQ(w->txtCountMin->text(), QStringLiteral("4"));
    EXPECT_EQ(w->txtCountSec->text(), QStringLiteral("5"));
    EXPECT_EQ(w->txtYmd->text(), kToday);
    EXPECT_EQ(MainWindow::selectedText(w->lstExer), QStringLiteral("01 ベンチプレス"));
    EXPECT_EQ(MainWindow::selectedText(w->lstUnitTarget), QStringLiteral("kg"));
    expectInsertionButtons();

    // The numbers of the others stay; the next insertion continues after the highest.
    enterCountSet();
    w->txtHMS[0]->clear();
    w->txtHMS[1]->clear();
    w->cmdInsert->click();
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(set_num) from t_exer")),
              QStringLiteral("1,2"));
}

}  // namespace
}  // namespace sorvenka::testing
