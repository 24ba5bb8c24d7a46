#include "app/qt/services/qtdialogservice.h"

#include "controls/qtcolor.h"
#include "controls/qtfont.h"
#include "platform/qtstring.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QStringList>
#include <QUrl>

#include <utility>

namespace {

TqueuePositionDialog& QueuePositionDialog()
{
    static TqueuePositionDialog dialog;
    return dialog;
}

// One file dialog set up as the options ask.
void Prepare(QFileDialog& dialog, const TfileDialogOptions& options)
{
    QStringList filters;
    for (const std::string& filter : PipeFilterToQt(options.Filter))
        filters << platform::ToQString(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = options.FilterIndex - 1;
        if (index >= 0 && index < filters.size())
            dialog.selectNameFilter(filters.at(index));
    }
    if (!options.InitialDir.empty())
        dialog.setDirectory(platform::ToQString(options.InitialDir));
    if (!options.FileName.empty())
        dialog.selectFile(platform::ToQString(options.FileName));
    if (!options.DefaultExt.empty())
        dialog.setDefaultSuffix(platform::ToQString(options.DefaultExt));
    QList<QUrl> places;
    for (const std::string& place : options.Places)
        places << QUrl::fromLocalFile(platform::ToQString(place));
    if (!places.isEmpty())
        dialog.setSidebarUrls(places);
}

} // namespace

std::vector<std::string> TqtDialogService::OpenFile(QWidget* parent, const TfileDialogOptions& options)
{
    QFileDialog dialog(parent, platform::ToQString(options.Title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(options.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    Prepare(dialog, options);
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted)
        for (const QString& file : dialog.selectedFiles())
            chosen.push_back(platform::FromQString(file));
    return chosen;
}

std::optional<std::string> TqtDialogService::SaveFile(QWidget* parent, const TfileDialogOptions& options)
{
    QFileDialog dialog(parent, platform::ToQString(options.Title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!options.OverwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    Prepare(dialog, options);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return platform::FromQString(dialog.selectedFiles().constFirst());
}

std::optional<std::string> TqtDialogService::BrowseFolder(QWidget* parent, const std::string& caption,
                                                          const std::string& initialDir)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, platform::ToQString(caption),
                                                             platform::ToQString(initialDir));
    if (folder.isEmpty())
        return std::nullopt;
    return platform::FromQString(folder);
}

std::optional<std::string> TqtDialogService::InputQuery(QWidget* parent, const std::string& caption,
                                                        const std::string& prompt, const std::string& value)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, platform::ToQString(caption), platform::ToQString(prompt),
                              QLineEdit::Normal, platform::ToQString(value), &ok);
    if (!ok)
        return std::nullopt;
    return platform::FromQString(text);
}

std::optional<TColor> TqtDialogService::ChooseColor(QWidget* parent, TColor initial)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

std::optional<TFontDesc> TqtDialogService::ChooseFont(QWidget* parent, const TFontDesc& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, ToQFont(initial), parent);
    if (!ok)
        return std::nullopt;
    return FromQFont(chosen, initial.Color);
}

void TqtDialogService::SetQueuePositionDialog(TqueuePositionDialog dialog)
{
    QueuePositionDialog() = std::move(dialog);
}

int TqtDialogService::AskQueuePosition(QWidget* parent, int lowest, int highest, int current, int left,
                                       int top)
{
    const TqueuePositionDialog& dialog = QueuePositionDialog();
    return dialog ? dialog(parent, lowest, highest, current, left, top) : current;
}
