#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "csv/csv_import.h"

namespace sorvenka {

class Database;
class Platform;

// The preview of a CSV import: what the file holds and what would be written, the group
// for new exercises, and the refused rows. Nothing is written until "読み込む"; then all
// new sets go in one transaction (the refused rows left out), and the dialog closes.
class CsvImportDialog : public QDialog {
    Q_OBJECT

  public:
    CsvImportDialog(Database& db, Platform& platform, const QString& path,
                    QWidget* parent = nullptr);

    // The figures of the preview as shown.
    const ImportSummary& preview() const { return preview_; }
    // What the import wrote, after the dialog was accepted.
    const ImportSummary& result() const { return result_; }

    QComboBox* cboGroup;  // the group of new exercises; "" = by FitNotes' category
    QPlainTextEdit* txtSummary;
    QPushButton* cmdImport;
    QPushButton* cmdCancel;

    // Runs the preview again for the group chosen.
    void runPreview();
    // Writes; accepts the dialog on success, shows the reason otherwise.
    void cmdImport_Click();

  private:
    QString chosenGroup() const;

    Database& db_;
    Platform& platform_;
    QString path_;
    ImportSummary preview_;
    ImportSummary result_;
};

}  // namespace sorvenka
