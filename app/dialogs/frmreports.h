#pragma once

#include "core/reports/jukeboxtagreportlist.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TreportsHost;

// "Reports": picks a library report, its output file, and runs it with a progress display. Each report's
// output file is kept in reports.ini in the Reports folder, read when the main window links itself and
// written whenever the window closes. One window for the program's run.
class TfrmReports : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmReports(QWidget* parent = nullptr);

    // Links the main window (not owned) and reads the reports' settings; null unlinks it.
    void SetJukebox(TreportsHost* host);
    TreportsHost* Jukebox() const { return host_; }

    TjukeboxTagReportList& Reports() { return reports_; }
    TjukeboxTagReport* SelectedReport() const { return selected_; }
    // A report is running: the window stays open and Run Report is off until it ends.
    bool Running() const { return running_; }
    bool MayClose() const { return !running_; }

    // reports.ini in the Reports folder under the program folder.
    static std::string ReportsIniFile();
    void LoadReportSettings(const std::string& path);
    // Throws EFileError when the file cannot be written.
    void SaveReportSettings(const std::string& path) const;

    // Run Report, Configure and the output edit are on exactly while a report is selected (Run Report
    // not while one runs); a report without an output file gets the Reports folder's default.
    void UpdateControls();

    void lbReportsClick();
    void btnGetFilenameClick();
    void btnConfigureClick();
    void btnReportClick();
    void btnCloseClick();

    QListWidget* ReportList() const { return lbReports; }
    QPlainTextEdit* Description() const { return memoDescription; }
    QLineEdit* OutputEdit() const { return edOutputFilename; }
    QPushButton* RunButton() const { return btnReport; }
    QPushButton* ConfigureButton() const { return btnConfigure; }
    QProgressBar* ProgressBar() const { return pgbProgress; }
    QLabel* ProgressLabel() const { return lblProgress; }

    // Refused while a report runs; otherwise the reports' settings are written (a failure is shown) and
    // the window closes.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ReportsProgress(int index, int count);
    void ShowProgress(bool visible);

    TjukeboxTagReportList reports_;
    TStringList<TjukeboxTagReport> names_;  // the lines of lbReports, each with its report
    TjukeboxTagReport* selected_ = nullptr; // link into reports_
    TreportsHost* host_ = nullptr;          // link
    bool running_ = false;

    QListWidget* lbReports;
    QPlainTextEdit* memoDescription;
    QLineEdit* edOutputFilename;
    QPushButton* btnGetFilename;
    QPushButton* btnConfigure;
    QPushButton* btnReport;
    QProgressBar* pgbProgress;
    QLabel* lblProgress;
    QPushButton* btnClose;
};
