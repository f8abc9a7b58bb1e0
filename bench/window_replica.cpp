// The yardstick of the start-up benchmark: a replica of the main window drawn by Qt alone. The
// same controls at the same places with their captions and fonts, the lists holding the first
// database's items and the record list the day lines of the week ending today, the buttons of
// the free area and the 前回 panel, Qt's Japanese texts loaded; nothing behind them (no
// database, no log, no copy, no lock). What remains between it and the program is work the
// first picture does not need.
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>
#include <QWidget>
#include <initializer_list>

namespace {

template <typename T>
T* Place(T* control, int x, int y, int w, int h) {
    control->setGeometry(x, y, w, h);
    return control;
}

QFont Face(const char* family, int pixels, bool bold = false) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setKerning(false);
    return font;
}

QLabel* Label(QWidget* parent, const char* text, int x, int y, int w, int h) {
    return Place(new QLabel(QString::fromUtf8(text), parent), x, y, w, h);
}

QPushButton* Button(QWidget* parent, const char* text, int x, int y, int w, int h) {
    auto* button = Place(new QPushButton(QString::fromUtf8(text), parent), x, y, w, h);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* Box(QWidget* parent, const QString& text, int x, int y, int w, int h, const QFont& font,
               bool right = false) {
    auto* box = Place(new QLineEdit(parent), x, y, w, h);
    box->setFont(font);
    box->setText(text);
    box->setTextMargins(0, 0, 0, 0);
    if (right) box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return box;
}

QListWidget* List(QWidget* parent, int x, int y, int w, int h, const QFont& font,
                  std::initializer_list<const char*> items) {
    auto* list = Place(new QListWidget(parent), x, y, w, h);
    list->setFont(font);
    list->setUniformItemSizes(true);
    for (const char* item : items) list->addItem(QString::fromUtf8(item));
    return list;
}

QGroupBox* Frame(QWidget* parent, const char* title, int x, int y, int w, int h) {
    return Place(new QGroupBox(QString::fromUtf8(title), parent), x, y, w, h);
}

QRadioButton* Option(QWidget* parent, const char* text, int x, int y, int w, int h) {
    return Place(new QRadioButton(QString::fromUtf8(text), parent), x, y, w, h);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtJapanese);

    QWidget w;
    w.setFixedSize(1259, 662);
    w.setFont(Face("IPAPGothic", 12));
    const QFont list = Face("IPAGothic", 12);
    const QFont box = Face("IPAGothic", 16);
    const QFont ymd = Face("IPAGothic", 16, true);
    const QDate today = QDate::currentDate();
    static const char* const kWeekdays[] = {"月", "火", "水", "木", "金", "土", "日"};

    // Top row.
    Box(&w, today.toString(QStringLiteral("yyyy/MM/dd")), 8, 8, 101, 21, ymd);
    Label(&w, kWeekdays[today.dayOfWeek() - 1], 108, 8, 21, 21)
        ->setFont(Face("IPAGothic", 15, true));
    Label(&w, "初めて記録した日", 148, 12, 97, 13);
    Label(&w, "2014/05/27", 252, 12, 77, 13)->setFont(list);
    Button(&w, "", 992, 4, 45, 21)->setVisible(false);
    Button(&w, "使い方", 1040, 4, 49, 21);
    Button(&w, "DBを開く", 1092, 4, 69, 21);
    Button(&w, "終了", 1180, 0, 65, 29);

    // Entry area.
    Label(&w, "グループ*", 24, 36, 85, 13);
    QListWidget* groups =
        List(&w, 24, 52, 133, 147, list,
             {"01 胸", "02 背中", "03 脚", "04 肩", "05 腕", "06 体幹", "07 有酸素", "99 その他"});
    groups->setCurrentRow(0);
    Label(&w, "種目*", 160, 36, 85, 13);
    List(&w, 160, 52, 153, 147, list,
         {"01 ベンチプレス", "02 ダンベルフライ", "03 腕立て伏せ", "04 インクラインプレス"});
    Label(&w, "重量/距離", 312, 36, 61, 13);
    Box(&w, QString(), 316, 52, 49, 21, box, true);
    List(&w, 368, 52, 33, 69, list, {"kg", "km", "m", "lb"})->setCurrentRow(0);
    Button(&w, "ｸﾘｱ", 316, 76, 41, 21);
    Button(&w, "0", 316, 100, 41, 25);
    Label(&w, "開始", 412, 36, 33, 13);
    Box(&w, QString(), 404, 52, 77, 21, box);
    Button(&w, "ｸﾘｱ", 404, 76, 41, 21);
    Button(&w, "現在時刻", 404, 100, 65, 25);
    Label(&w, "完了", 484, 36, 37, 13);
    Box(&w, QString(), 484, 52, 77, 21, box);
    Button(&w, "ｸﾘｱ", 484, 76, 41, 21);
    Button(&w, "現在時刻", 484, 100, 65, 25);
    Label(&w, "ｶｳﾝﾄ*", 564, 36, 33, 13);
    Box(&w, QString(), 564, 52, 41, 21, box, true);
    Button(&w, "ｸﾘｱ", 564, 76, 41, 21);
    Button(&w, "0", 564, 100, 41, 25);
    Label(&w, "単位*", 608, 36, 33, 13);
    List(&w, 608, 52, 33, 121, list, {"回", "歩", "周"})->setCurrentRow(0);
    Label(&w, "発汗状況*", 648, 36, 65, 13);
    List(&w, 648, 52, 121, 121, list, {"0 なし", "1 少し", "2 普通", "3 多い", "4 大量"});
    Label(&w, "コメント (ひらがなモード)", 772, 36, 129, 13);
    Button(&w, "ｸﾘｱ", 908, 32, 41, 21);
    Place(new QPlainTextEdit(&w), 772, 52, 357, 121)->setFont(list);
    Button(&w, "登録", 1136, 68, 65, 89);
    Button(&w, "更新", 1204, 68, 49, 89)->setEnabled(false);
    Label(&w, "ﾀｲﾑ*", 568, 160, 33, 13);
    Box(&w, QString(), 568, 176, 41, 21, box, true);
    Label(&w, "分", 612, 180, 17, 13);
    Box(&w, QString(), 628, 176, 41, 21, box, true);
    Label(&w, "秒", 672, 180, 17, 13);
    Button(&w, "ｸﾘｱ", 696, 176, 41, 21);

    // The record frame: the week ending today, newest day first, no set in it.
    QGroupBox* records = Frame(&w, "これまでの記録", 24, 208, 1013, 445);
    QGroupBox* period = Frame(records, "期間", 8, 24, 93, 73);
    Box(period, QStringLiteral("1"), 12, 20, 41, 21, box, true);
    Label(period, "週分", 56, 24, 29, 13);
    Button(period, "<", 12, 44, 21, 21);
    Button(period, ">", 36, 44, 21, 21);
    Label(records, "種目の範囲", 12, 108, 69, 13);
    List(records, 12, 124, 113, 69, list, {"0 すべて", "1 指定グループ", "2 指定種目"})
        ->setCurrentRow(0);
    QGroupBox* order = Frame(records, "出力順", 12, 200, 77, 69);
    Label(order, "日付の", 12, 16, 45, 13);
    Option(order, "昇順", 16, 32, 53, 13);
    Option(order, "降順", 16, 48, 53, 13)->setChecked(true);
    QGroupBox* comments = Frame(records, "コメント", 12, 276, 77, 57);
    Option(comments, "非表示", 8, 20, 61, 17);
    Option(comments, "表示", 8, 36, 53, 17)->setChecked(true);
    Label(records, "              グループ_種目              セット", 132, 24, 777, 17)
        ->setFont(list);
    QListWidget* lines = List(records, 132, 40, 801, 394, list, {});
    lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lines->setTextElideMode(Qt::ElideNone);
    for (int back = 0; back < 7; ++back) {
        const QDate day = today.addDays(-back);
        lines->addItem(day.toString(QStringLiteral("yyyy/MM/dd(")) +
                       QString::fromUtf8(kWeekdays[day.dayOfWeek() - 1]) + QLatin1Char(')'));
    }
    Button(records, "削除", 940, 44, 65, 25)->setEnabled(false);
    Button(records, "選択解除", 940, 84, 65, 25)->setEnabled(false);
    Label(records, "ファイルに", 940, 384, 57, 17);
    Button(records, "出力", 940, 400, 65, 25);

    // The free area's buttons and the 前回 panel.
    Button(&w, "推移", 1056, 216, 185, 33);
    Button(&w, "CSVに書き出す", 1056, 264, 185, 33);
    Button(&w, "CSVを読み込む", 1056, 304, 185, 33);
    Button(&w, "種目の管理", 1056, 344, 185, 33);
    Button(&w, "バックアップから復元", 1056, 384, 185, 33);
    Button(&w, "開始", 1056, 162, 64, 25);
    Button(&w, "完了して登録", 1124, 162, 117, 25);
    Button(&w, "メニュー", 1056, 189, 185, 24);
    QGroupBox* last = Frame(&w, "前回", 1048, 424, 209, 234);
    QFont small = last->font();
    small.setPixelSize(11);
    last->setFont(small);
    Label(last, "種目を選ぶと前回の記録を表示します", 6, 16, 196, 15);
    Place(new QListWidget(last), 6, 32, 196, 74);
    Place(new QListWidget(last), 6, 108, 196, 52);
    Button(last, "前回の値", 6, 196, 64, 26)->setEnabled(false);
    Label(last, "目安", 128, 196, 24, 26);
    QComboBox* rest = Place(new QComboBox(last), 152, 197, 50, 24);
    for (const char* length : {"なし", "1:00", "1:30", "2:00", "3:00"})
        rest->addItem(QString::fromUtf8(length));

    w.setWindowTitle(QStringLiteral("Sorvenka Valdrome Ver2.0.3"));
    w.show();
    groups->setFocus();
    return QApplication::exec();
}
