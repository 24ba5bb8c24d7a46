#pragma once

#include "app/qt/services/busyguard.h"

#include <QWidget>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QGroupBox;
class TcustomJukeboxListViewer;
class TtreeSinkModel;
class QProgressBar;

// The one progress window of the program. Long operations announce themselves (caption and show), step
// the bar, and close it at their end. Every step shown lets pending window messages run so the windows stay
// responsive; while the window shows it holds the main window's busy flag, so commands that would start
// another long operation are refused and a close request waits until the window closes.
class TfrmProgress : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmProgress(QWidget* parent = nullptr, TbusyGuard* busyGuard = nullptr);
    ~TfrmProgress() override;

    // The busy flag held while shown (a link; nullptr for none). Takes effect at the next showing.
    TbusyGuard* BusyGuard() const { return busyGuard_; }
    void SetBusyGuard(TbusyGuard* guard) { busyGuard_ = guard; }

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // Sets the bar (each value only when it differs) and lets pending messages run. A position past the
    // maximum shows a full bar; both values are kept as given.
    void SetProgress(int position, int maximum);
    int Position() const { return position_; }
    int Maximum() const { return maximum_; }

    // Shows the window centred on its parent's window (or the screen), on top.
    void ShowProgress();
    // Hides the window and lets go of the busy flag; a close request held meanwhile runs now.
    void CloseProgress();

    // The three steps of a long list operation, as the library and the song lists raise them. A load tells
    // of every song: the bar moves and the messages run only when a step is due (StepDue).
    void ListProcessStart(const std::string& text);
    void ListProcess(std::uint32_t index, std::uint32_t count);
    void ListProcessFinished();

    // True for the first step after the window was shown, the last step (index at count) and otherwise
    // once kStepInterval has passed since the last step shown: a few dozen updates a second at most.
    bool StepDue(std::uint32_t index, std::uint32_t count);
    static constexpr std::chrono::milliseconds kStepInterval{40};

    // Runs the pending window messages; replaceable so that tests can watch the steps.
    std::function<void()> ProcessMessages;
    // The clock of the steps; replaceable so that tests can move it.
    std::function<std::chrono::steady_clock::time_point()> Now;

    QGroupBox* GroupBox() const { return gbProgress; }
    QProgressBar* ProgressBar() const { return pgbProgress; }

protected:
    // The window is closed by the program only.
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowBar();

    TbusyGuard* busyGuard_ = nullptr; // link
    std::unique_ptr<TbusyGuard::TScope> busy_;
    int position_ = 0;
    int maximum_ = 100;
    bool stepShown_ = false;
    std::chrono::steady_clock::time_point lastStep_;
    QGroupBox* gbProgress;
    QProgressBar* pgbProgress;
};

// Fills model through viewer; with a progress window, the tree builder's comments show in it as
// "Updating Tree : " and its steps move the bar, and the window closes again however the fill ends.
void FillTreeWithProgress(TcustomJukeboxListViewer& viewer, TtreeSinkModel& model, TfrmProgress* progress);
