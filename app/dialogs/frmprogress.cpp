#include "app/dialogs/frmprogress.h"

#include "controls/treesinkmodel.h"
#include "controls/windowplacement.h"
#include "core/tree/customjukeboxlistviewer.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <memory>

namespace {

int ClampToInt(std::uint32_t value)
{
    return static_cast<int>(std::min<std::uint32_t>(value, std::numeric_limits<int>::max()));
}

} // namespace

TfrmProgress::TfrmProgress(QWidget* parent, TbusyGuard* busyGuard)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      busyGuard_(busyGuard)
{
    setObjectName("frmProgress");
    setFixedSize(322, 55);
    ProcessMessages = [] { QCoreApplication::processEvents(); };
    Now = [] { return std::chrono::steady_clock::now(); };

    gbProgress = new QGroupBox("Processing ... Please Wait", this);
    gbProgress->setObjectName("gbProgress");
    gbProgress->setCursor(Qt::WaitCursor);
    pgbProgress = new QProgressBar(gbProgress);
    pgbProgress->setObjectName("pgbProgress");
    pgbProgress->setRange(0, 100);
    pgbProgress->setValue(0);
    pgbProgress->setTextVisible(false);

    auto* inner = new QVBoxLayout(gbProgress);
    inner->setContentsMargins(8, 4, 8, 6);
    inner->addWidget(pgbProgress);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(gbProgress);
}

TfrmProgress::~TfrmProgress() = default;

std::string TfrmProgress::Caption() const
{
    return platform::FromQString(windowTitle());
}

void TfrmProgress::SetCaption(const std::string& caption)
{
    setWindowTitle(platform::ToQString(caption));
}

void TfrmProgress::SetProgress(int position, int maximum)
{
    const bool changed = maximum != maximum_ || position != position_;
    maximum_ = maximum;
    position_ = position;
    if (changed)
        ShowBar();
    if (ProcessMessages)
        ProcessMessages();
}

// The bar keeps a range of at least one step (Qt shows an empty range as "busy") and is never set out of
// its range (Qt ignores such values).
void TfrmProgress::ShowBar()
{
    const int maximum = std::max(maximum_, 1);
    if (pgbProgress->maximum() != maximum)
        pgbProgress->setMaximum(maximum);
    const int value = std::clamp(maximum_ > 0 ? position_ : 0, 0, maximum);
    if (pgbProgress->value() != value)
        pgbProgress->setValue(value);
}

void TfrmProgress::ShowProgress()
{
    if (busyGuard_ && !busy_)
        busy_ = std::make_unique<TbusyGuard::TScope>(*busyGuard_);
    if (!isVisible()) {
        CentreOnOwner(*this, parentWidget());
        stepShown_ = false;
    }
    show();
    raise();
}

void TfrmProgress::CloseProgress()
{
    hide();
    // Last, and through a local: leaving the busy flag may run a held close request of the main window,
    // which may free this window.
    const std::unique_ptr<TbusyGuard::TScope> leaving = std::move(busy_);
}

void TfrmProgress::ListProcessStart(const std::string& text)
{
    SetCaption(text);
    ShowProgress();
    stepShown_ = false;
}

void TfrmProgress::ListProcess(std::uint32_t index, std::uint32_t count)
{
    if (StepDue(index, count))
        SetProgress(ClampToInt(index), ClampToInt(count));
}

bool TfrmProgress::StepDue(std::uint32_t index, std::uint32_t count)
{
    const std::chrono::steady_clock::time_point now = Now ? Now() : std::chrono::steady_clock::time_point{};
    if (stepShown_ && index < count && now - lastStep_ < kStepInterval)
        return false;
    stepShown_ = true;
    lastStep_ = now;
    return true;
}

void TfrmProgress::ListProcessFinished()
{
    CloseProgress();
}

void TfrmProgress::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void FillTreeWithProgress(TcustomJukeboxListViewer& viewer, TtreeSinkModel& model, TfrmProgress* progress)
{
    if (!progress) {
        viewer.FillTree(model);
        return;
    }
    viewer.OnProcess = [progress](TcustomJukeboxListViewer*, int index, int count,
                                  const std::string& comment) {
        if (!progress->StepDue(static_cast<std::uint32_t>(std::max(index, 0)),
                               static_cast<std::uint32_t>(std::max(count, 0))))
            return;
        progress->SetCaption("Updating Tree : " + comment);
        progress->SetProgress(index, count);
    };
    const platform::TScopeExit done([&viewer, progress] {
        viewer.OnProcess = nullptr;
        progress->CloseProgress();
    });
    progress->ShowProgress();
    viewer.FillTree(model);
}
