#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "db/exer_record.h"
#include "last_session/rest_clock.h"

struct sqlite3;

namespace sorvenka {

class Platform;

// 前回: the exercise's last session before the main window's date, its records, the notice
// of a record just set, and the rest clock while the date is today. Every showing reads the
// database anew.
class LastSessionPanel : public QGroupBox {
    Q_OBJECT

  public:
    // restLengthFile keeps the chosen rest length between starts; soundFile is played once
    // when the rest length is reached.
    // The connection is asked for at each read: a restored database is a new connection.
    LastSessionPanel(std::function<sqlite3*()> connection, Platform& platform,
                     const QString& restLengthFile, const QString& soundFile,
                     QWidget* parent = nullptr);

    // Shows the exercise's last session before the day, its records and the clock of the day.
    // An empty code or a day that is not a day shows nothing.
    void showFor(const QString& ymd, const QString& grpCd, const QString& exerCd);
    // After a set was stored under the key: the records it beat, or nothing.
    void noteStored(const RecordKey& key);
    // One reading of the rest clock (the timer's second; tests call it with their own clock).
    void tick();

    QLabel* lblDay;
    QListWidget* lstSets;
    QListWidget* lstRecords;
    QLabel* lblNotice;
    QPushButton* cmdFill;  // 前回の値
    QLabel* lblRest;
    QLabel* lblRestLength;  // 目安: the caption of the rest length
    QComboBox* cboRest;
    QTimer* restTimer;

  private:
    void restLengthChosen(int index);

    std::function<sqlite3*()> connection_;
    Platform& platform_;
    QString restLengthFile_;
    QString soundFile_;
    QString ymd_, grpCd_, exerCd_;
    RestClock clock_;
};

}  // namespace sorvenka
