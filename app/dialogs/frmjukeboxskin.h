#pragma once

#include "app/skins/skinreclist.h"
#include "core/captions/tagfonts.h"

#include <QDialog>

#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTabWidget;
class TcolorPanel;
class TskinsHost;
class TtfRec;

// The Skins dialog: the two skin colours and the fonts and background colour of every font set of the
// skinned main window, edited on working copies and given to the window by Apply or OK; the installed skins
// with Load Skin; and the export of the current look as a new skin.
class TfrmJukeboxSkin : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmJukeboxSkin(QWidget* parent = nullptr);
    ~TfrmJukeboxSkin() override;

    // Links the window (not owned; may be null) and takes its font sets, colours and skins.
    void SetJukeboxApp(TskinsHost* host);
    TskinsHost* JukeboxApp() const { return host_; }

    // The pending font and colour changes go to the window; both flags are cleared.
    void ApplyChanges();
    bool FontsModified() const { return fontsModified_; }
    bool ColorsModified() const { return colorsModified_; }

    void BuildTagFontsTabs();
    // The selected tab's set into the font list, the sample and the background button.
    void ShowTagFontsSet();
    void RefreshSkinList();

    int RecordCount() const { return static_cast<int>(records_.size()); }
    const TtfRec& Record(int index) const { return *records_.at(static_cast<std::size_t>(index)); }
    // The selected tab's working copy; null without one.
    TtagFonts* CurrentSet() const;
    const TskinRecList& Skins() const { return skins_; }

    // The buttons' steps.
    void btnFontClick();
    void btnFontColorClick();
    void btnTagBackgroundClick();
    void btnMakeAllSameClick();
    void btnMatchFontsClick();
    void ColorPanelClick(TcolorPanel* panel);
    void lbSkinsClick();
    void btnLoadSkinClick();
    void btnExportSkinClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildColorsPage();
    QWidget* BuildSkinsPage();
    TcolorPanel* ColorPanel(const char* name, const char* caption, QWidget* parent);
    QPushButton* Button(const char* name, const char* caption, QWidget* parent);
    void MakeRecords();
    // The current entry's font kind; false without a current entry.
    bool CurrentKind(TtagFonts::FontKind& kind) const;
    std::vector<TtagFonts::FontKind> SelectedKinds() const;
    void ShowSample();
    void FontsChanged();
    void ColorsChanged();
    // The working copies and colour panels from the window again; nothing pending stays.
    void RevertToWindow();

    TskinsHost* host_ = nullptr; // link
    std::vector<std::unique_ptr<TtfRec>> records_;
    TskinRecList skins_;
    bool fontsModified_ = false;
    bool colorsModified_ = false;

    QTabWidget* pcSkins;
    TcolorPanel* pnlButtonColor;
    TcolorPanel* pnlPanelColor;
    QTabBar* tcTagFonts;
    TcolorPanel* pnlTagFonts;
    QLabel* lblTagFontSample;
    QListWidget* lbTagFonts;
    QPushButton* btnFont;
    QPushButton* btnTagBackground;
    QPushButton* btnFontColor;
    QPushButton* btnMakeAllSame;
    QPushButton* btnMatchFonts;
    QLineEdit* edExportName;
    QPushButton* btnExportSkin;
    QListWidget* lbSkins;
    QPushButton* btnLoadSkin;
    QPlainTextEdit* memoSkins;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QPushButton* btnApply;
};

// The main window's Skins command: the dialog shown modally on the window's look; OK applies what is
// pending. Does nothing without a window.
void ShowSkinsDialog(TskinsHost* host);
