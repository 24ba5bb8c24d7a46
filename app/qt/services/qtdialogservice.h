#pragma once

#include "app/qt/services/dialogservice.h"

// The dialogs as Qt's own: QFileDialog, QColorDialog, QFontDialog, QInputDialog; the queue position popup.
class TqtDialogService : public TdialogService
{
public:
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
