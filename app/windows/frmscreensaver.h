#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>
#include <random>

class TactivityMonitor;
class TaudioTag;
class TidleDetector;
class TimageColorPanel;
class TScrollBanner3;
class TscreenSaverHost;
class TThreadedTimer;

// The screensaver: a black window over the whole screen with the playing song's cover, scaled to fit, and
// its caption scrolling across at a height that changes every 25 seconds. The idle timing that opens it and
// the activity that closes it belong to the main window (TidleDetector); the window itself closes on a key
// press or a click. The mouse cursor is hidden over it while it shows.
class TfrmScreenSaver : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kBannerHeight = 41;
    static constexpr std::uint32_t kAnimateInterval = 25000;

    explicit TfrmScreenSaver(QWidget* parent = nullptr);
    ~TfrmScreenSaver() override;

    // Links the main window (not owned); null unlinks it.
    void SetJukebox(TscreenSaverHost* host) { host_ = host; }
    TscreenSaverHost* Jukebox() const { return host_; }

    // The song that started, or none. With a song and a main window: its caption in the screensaver fonts
    // and its cover (embedded picture first, then the cover folder); a song without a cover clears the
    // picture. Otherwise the red application title, the picture kept.
    void SetSong(const TaudioTag* song);

    // Up and scrolling: between a show and the close that ends it.
    bool Showing() const;
    // How far down the banner may be placed: the window's height less the banner's, never below 0.
    int BannerRange() const { return bannerRange_; }

    TimageColorPanel* ImagePanel() const { return pnlImage; }
    TScrollBanner3* Banner() const { return sbSongTitle; }
    TThreadedTimer* AnimateTimer() const { return tmrAnimate.get(); }
    // The 25-second step: the banner moves to a random height within the range.
    void AnimateTick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormShow();
    void FormResize();
    void FormClose();
    void ShowApplicationTitle();

    TscreenSaverHost* host_ = nullptr; // link
    TimageColorPanel* pnlImage = nullptr;
    TScrollBanner3* sbSongTitle = nullptr;
    std::unique_ptr<TThreadedTimer> tmrAnimate;
    int bannerRange_ = 0;
    std::mt19937 random_;
};

// The one screensaver of the run, made at its first use and freed with the application.
TfrmScreenSaver* GetScreenSaverForm();
// The screensaver if it was made, else null.
TfrmScreenSaver* FindScreenSaverForm();

// One tick of the main window's 500 ms idle timer: weighs the input the monitor counted since the last
// tick, shows the screensaver (modeless) or closes it as the detector decides, and resets the count. With
// no screensaver it only resets the count. `hostActive`: the main window is the active window.
void ScreenSaverIdleTick(TidleDetector& detector, TactivityMonitor& monitor, TfrmScreenSaver* screenSaver,
                         bool hostActive);
