#pragma once

#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryFile>
#include <QTimer>
#include <memory>

#include "csv/csv_import.h"

namespace sorvenka {

class Database;
class Platform;

// The preview of a CSV import: what the file holds and what would be written, where each of
// its exercise names goes (an existing exercise or a new one in a group, every row open to
// change), the unit of loads for a file without one, and the refused rows. The file is
// copied when the preview opens, and every preview and the import read that copy: what is
// written is what the preview showed, whatever happens to the file meanwhile. Nothing is
// written until "読み込む"; then all new sets go in one transaction and the dialog closes.
class CsvImportDialog : public QDialog {
    Q_OBJECT

  public:
    CsvImportDialog(Database& db, Platform& platform, const QString& path,
                    QWidget* parent = nullptr);
    ~CsvImportDialog() override;

    // The figures of the preview as shown.
    const ImportSummary& preview() const { return preview_; }
    // What the import wrote, after the dialog was accepted.
    const ImportSummary& result() const { return result_; }

    QComboBox* cboGroup;  // one group for every new exercise; "" = the group proposed for each
    QComboBox* cboUnit;   // the unit of loads when the file has none
    QComboBox* cboDistanceUnit;  // the unit of distances when the file holds some without one
    QTableWidget* tblNames;      // one row per exercise name; column 3 holds its destination
    QPlainTextEdit* txtSummary;
    QPushButton* cmdImport;
    QPushButton* cmdCancel;

    // The destination chooser of a name's row.
    QComboBox* destinationBox(int row) const;
    // Runs the preview again for the choices made.
    void runPreview();
    // Writes; accepts the dialog on success, shows the reason otherwise.
    void cmdImport_Click();

  private:
    ImportOptions options() const;
    void fillNames();
    void destinationChosen(int row);
    void newNameTyped(int row, const QString& text);
    // The distance unit that the load unit suggests, until the user chooses one.
    void proposeDistanceUnit();

    Database& db_;
    Platform& platform_;
    QString path_;
    std::unique_ptr<QTemporaryFile> copy_;  // the file as it was when the preview opened
    QString copyFailure_;
    ImportSummary preview_;
    ImportSummary result_;
    bool distanceUnitChosen_ = false;        // the user chose the distance unit
    QHash<QString, ExerciseTarget> chosen_;  // destinations the user changed, by name
    QHash<QString, QString> newNames_;       // names typed for new exercises, by file name
    QTimer previewTimer_;                    // a preview run after a typed name is stored
    QStringList groups_, exercises_;         // "01 胸", "01 01 ベンチプレス"
};

}  // namespace sorvenka
