#pragma once

#include "app/qt/services/dialogservice.h"

#include <functional>

// Shows the queue position popup: a song's new 0-based place between lowest and highest, starting at current,
// with the popup's top left corner at (left, top) on the screen; current when cancelled.
using TqueuePositionDialog =
    std::function<int(QWidget* parent, int lowest, int highest, int current, int left, int top)>;

// The dialogs as Qt's own: QFileDialog, QColorDialog, QFontDialog, QInputDialog; the queue position popup the
// program hands over.
class TqtDialogService : public TdialogService
{
public:
    // The queue position popup, a dialog of the program's own: main.cpp hands it over at start-up. Without
    // one the position stays as it is. nullptr takes it back.
    static void SetQueuePositionDialog(TqueuePositionDialog dialog);

    std::vector<std::string> OpenFile(QWidget* parent, const TfileDialogOptions& options) override;
    std::optional<std::string> SaveFile(QWidget* parent, const TfileDialogOptions& options) override;
    std::optional<std::string> BrowseFolder(QWidget* parent, const std::string& caption,
                                            const std::string& initialDir) override;
    std::optional<std::string> InputQuery(QWidget* parent, const std::string& caption,
                                          const std::string& prompt, const std::string& value) override;
    std::optional<TColor> ChooseColor(QWidget* parent, TColor initial) override;
    std::optional<TFontDesc> ChooseFont(QWidget* parent, const TFontDesc& initial) override;
    int AskQueuePosition(QWidget* parent, int lowest, int highest, int current, int left, int top) override;
};
