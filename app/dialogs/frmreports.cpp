#include "app/dialogs/frmreports.h"

#include "app/dialogs/reportshost.h"
#include "app/qt/services/busyguard.h"
#include "app/qt/services/dialogservice.h"
#include "app/qt/services/exceptionboundary.h"
#include "controls/windowplacement.h"
#include "core/jukebox/customjukeboxlist.h"
#include "core/reports/invalidtagsreport.h"
#include "core/reports/missingcoversreport.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <optional>

namespace {

QPushButton* Button(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* Label(const char* name, const char* caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

std::string FolderOf(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash);
}

std::string NameOf(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

} // namespace

TfrmReports::TfrmReports(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmReports");
    setWindowTitle("Reports");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* group = new QGroupBox(this);
    group->setObjectName("gbReports");
    auto* lblAvailable = Label("lblAvailableReports", "Available Reports", group);
    lbReports = new QListWidget(group);
    lbReports->setObjectName("lbReports");
    lbReports->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* lblDescription = Label("lblDescription", "Description", group);
    memoDescription = new QPlainTextEdit(group);
    memoDescription->setObjectName("memoDescription");
    memoDescription->setReadOnly(true);
    memoDescription->setFixedHeight(60);
    auto* lblOutput = Label("lblOutputFile", "Output File", group);
    // Only the file chosen through "..." counts, so the edit only shows it.
    edOutputFilename = new QLineEdit(group);
    edOutputFilename->setObjectName("edOutputFilename");
    edOutputFilename->setReadOnly(true);
    btnGetFilename = Button("btnGetFilename", "...", group);
    btnGetFilename->setFixedWidth(28);
    btnConfigure = Button("btnConfigure", "Con&figure", group);
    btnReport = Button("btnReport", "&Run Report", group);
    pgbProgress = new QProgressBar(group);
    pgbProgress->setObjectName("pgbProgress");
    pgbProgress->setRange(0, 100);
    pgbProgress->setTextVisible(false);
    lblProgress = Label("lblProgress", "0/0", group);
    lblProgress->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblProgress->setMinimumWidth(70);
    btnClose = Button("btnClose", "&Close", this);

    lblAvailable->setBuddy(lbReports);
    lblOutput->setBuddy(edOutputFilename);
    auto* output = new QHBoxLayout;
    output->addWidget(edOutputFilename, 1);
    output->addWidget(btnGetFilename);
    auto* actions = new QHBoxLayout;
    actions->addStretch(1);
    actions->addWidget(btnConfigure);
    actions->addWidget(btnReport);
    auto* progress = new QHBoxLayout;
    progress->addWidget(pgbProgress, 1);
    progress->addWidget(lblProgress);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(lblAvailable);
    inner->addWidget(lbReports);
    inner->addWidget(lblDescription);
    inner->addWidget(memoDescription);
    inner->addWidget(lblOutput);
    inner->addLayout(output);
    inner->addLayout(actions);
    inner->addLayout(progress);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(bottom);
    resize(360, 420);

    reports_.AddReport(std::make_unique<TmissingCoversReport>());
    reports_.AddReport(std::make_unique<TinvalidTagsReport>());
    reports_.OnProgress = [this](TjukeboxTagReport*, int index, int count) { ReportsProgress(index, count); };

    connect(lbReports, &QListWidget::currentRowChanged, this, [this] { lbReportsClick(); });
    connect(btnGetFilename, &QPushButton::clicked, this, [this] { btnGetFilenameClick(); });
    connect(btnConfigure, &QPushButton::clicked, this, [this] { btnConfigureClick(); });
    connect(btnReport, &QPushButton::clicked, this, [this] { btnReportClick(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });
    ShowProgress(false);
}

void TfrmReports::SetJukebox(TreportsHost* host)
{
    host_ = host;
    if (host_ != nullptr)
        LoadReportSettings(ReportsIniFile());
}

std::string TfrmReports::ReportsIniFile()
{
    return platform::ReportsFolder() + "/reports.ini";
}

void TfrmReports::LoadReportSettings(const std::string& path)
{
    const TIniFile ini(path);
    reports_.LoadSettings(ini);
}

void TfrmReports::SaveReportSettings(const std::string& path) const
{
    platform::ForceDirectories(FolderOf(path));
    TIniFile ini(path);
    reports_.SaveSettings(ini);
    ini.UpdateFile();
}

void TfrmReports::UpdateControls()
{
    const bool selected = selected_ != nullptr;
    btnReport->setEnabled(selected && !running_);
    btnConfigure->setEnabled(selected);
    edOutputFilename->setEnabled(selected);
    if (!selected || host_ == nullptr) {
        edOutputFilename->clear();
        memoDescription->clear();
        return;
    }
    if (selected_->Filename().empty())
        selected_->SetFilename(platform::ReportsFolder() + "/" + selected_->GetName() + "." +
                               selected_->GetDefaultExt());
    edOutputFilename->setText(platform::ToQString(NameOf(selected_->Filename())));
    memoDescription->setPlainText(platform::ToQString(selected_->GetDescription()));
}

void TfrmReports::lbReportsClick()
{
    const int row = lbReports->currentRow();
    if (row < 0 || row >= names_.Count())
        return;
    selected_ = names_.Objects(row);
    UpdateControls();
}

void TfrmReports::btnGetFilenameClick()
{
    if (selected_ == nullptr || host_ == nullptr)
        return;
    TfileDialogOptions options;
    options.Filter = selected_->GetFilter();
    options.DefaultExt = selected_->GetDefaultExt();
    options.InitialDir = platform::ReportsFolder();
    options.OverwritePrompt = true;
    if (const std::string folder = FolderOf(selected_->Filename());
        !folder.empty() && platform::DirectoryExists(folder))
        options.FileName = selected_->Filename();
    if (const std::optional<std::string> chosen = TdialogService::Current().SaveFile(this, options))
        selected_->SetFilename(*chosen);
    UpdateControls();
}

void TfrmReports::btnConfigureClick()
{
    if (selected_ != nullptr)
        selected_->Configure();
}

void TfrmReports::btnReportClick()
{
    TjukeboxTagReport* report = selected_;
    if (report == nullptr || running_)
        return;
    // Declared first so that it goes last: a close held while the report ran may free this window.
    std::optional<TbusyGuard::TScope> busy;
    if (TbusyGuard* guard = host_ != nullptr ? host_->BusyGuard() : nullptr)
        busy.emplace(*guard);
    {
        const platform::TValueGuard running(running_, true);
        btnReport->setEnabled(false);
        pgbProgress->setValue(0);
        lblProgress->setText("0/0");
        ShowProgress(true);
        // The progress lets messages run; a failed report is shown like any other error.
        Guarded([&] {
            if (FolderOf(report->Filename()) == platform::ReportsFolder())
                platform::ForceDirectories(platform::ReportsFolder());
            report->Execute();
        });
        ShowProgress(false);
    }
    UpdateControls();
}

void TfrmReports::btnCloseClick()
{
    close();
}

void TfrmReports::done(int result)
{
    if (running_)
        return;
    if (host_ != nullptr)
        Guarded([this] { SaveReportSettings(ReportsIniFile()); });
    QDialog::done(result);
}

void TfrmReports::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmReports::FormShow()
{
    ShowProgress(false);
    selected_ = nullptr;
    TcustomJukeboxList* library = host_ != nullptr ? host_->ReportLibrary() : nullptr;
    if (library != nullptr) {
        const std::string coverFolder = host_->CoverArtFolder();
        for (int i = 0; i < reports_.GetCount(); ++i) {
            TjukeboxTagReport* report = reports_.GetReport(i);
            report->SetAlbums(&library->Albums());
            report->SetArtists(&library->Artists());
            report->SetSongs(&library->GlobalList());
            report->SetCoverFolder(coverFolder);
        }
    }
    reports_.GetNames(names_);
    {
        const QSignalBlocker quiet(lbReports);
        lbReports->clear();
        for (int i = 0; i < names_.Count(); ++i)
            lbReports->addItem(platform::ToQString(names_.Strings(i)));
        lbReports->setCurrentRow(-1);
    }
    UpdateControls();
    CentreOnOwner(*this, host_ != nullptr ? host_->HostWindow() : nullptr);
}

void TfrmReports::ReportsProgress(int index, int count)
{
    if (pgbProgress->maximum() != count)
        pgbProgress->setMaximum(count);
    pgbProgress->setValue(index);
    lblProgress->setText(QString::asprintf("%d/%d", index, count));
    QCoreApplication::processEvents();
}

void TfrmReports::ShowProgress(bool visible)
{
    pgbProgress->setVisible(visible);
    lblProgress->setVisible(visible);
}
