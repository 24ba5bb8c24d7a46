#pragma once

#include "controls/appdetails.h"

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;
class QTimer;
class TcolorPanel;
class ThtmlListBox;

// The about box, which doubles as the start-up splash: the logo on top, the contact details and version
// below. As the splash it shows the logo alone and refuses to close until its timer has run out; from then
// on a click anywhere but the details list, or Esc, closes it. The program's own form is TfrmOJAbout.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kFormWidth = 300;
    static constexpr int kLogoHeight = 175;
    static constexpr int kAboutHeight = 430;

    explicit TfrmAbout(QWidget* parent = nullptr);
    ~TfrmAbout() override;

    // Logo and details, modal. Does nothing while the splash still refuses to close.
    void ShowAboutBox();
    // The logo alone, modeless; closes itself when the splash timer fires.
    void ShowSplash();

    // The close query: false from a splash until its timer has fired.
    bool MayClose() const { return mayClose_; }

    TappDetails& AppDetails() { return appDetails_; }
    // Whether the web and mail lines open anything: off while party play keeps guests inside the program.
    bool LinksEnabled() const { return linksEnabled_; }
    void SetLinksEnabled(bool on) { linksEnabled_ = on; }
    void SetLogo(const QImage& logo);

    // The program file whose version the details show; the running program unless set.
    const std::string& ProgramFile() const { return programFile_; }
    void SetProgramFile(std::string value) { programFile_ = std::move(value); }

    TcolorPanel* DetailsPanel() const { return pnlDetails; }
    ThtmlListBox* DetailsList() const { return lbDetails; }
    QTimer* SplashTimer() const { return tmrSplash; }

    // The form's OnShow: refills the details when they are shown, then centres the form on the screen.
    void FormShow();
    // The version line of the details for the program file.
    std::string VersionNotice() const;

public slots:
    // Esc and every close request pass the close query first.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The form's components, for the program's own form to set up.
    QWidget* pnlTop;
    QLabel* imgLogo;
    TcolorPanel* pnlDetails;
    ThtmlListBox* lbDetails;
    QPushButton* Button1;
    QTimer* tmrSplash;

private:
    void SplashTimerTick();
    bool DetailsListEvent(QEvent* event);
    bool IsLinkLine(int line) const;
    // Lets pending window messages run, as the form does between its size changes.
    static void ProcessMessages();

    bool mayClose_ = false;
    bool linksEnabled_ = true;
    std::string programFile_;
    TappDetails appDetails_;
};
