#include "app/windows/frmscreensaver.h"

#include "app/qt/services/activitymonitor.h"
#include "app/windows/screensaverhost.h"
#include "controls/coverimage.h"
#include "controls/imagecolorpanel.h"
#include "controls/qtfont.h"
#include "controls/scrollbanner3.h"
#include "core/captions/tagfonts.h"
#include "core/songs/audiotag.h"
#include "core/songs/coverpicture.h"
#include "core/timers/idledetector.h"
#include "core/timers/threadedtimer.h"
#include "core/util/promptservice.h"
#include "markup/taggedtext.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
constexpr int kBannerSpaces = 10;
constexpr int kScrollDelay = 15;
constexpr int kBannerPointSize = 20;

QPointer<TfrmScreenSaver>& SharedForm()
{
    static QPointer<TfrmScreenSaver> form;
    return form;
}

// Runs first in the application's destructor, while widgets may still be freed.
void FreeSharedForm()
{
    delete SharedForm().data();
}

} // namespace

TfrmScreenSaver::TfrmScreenSaver(QWidget* parent)
    : QWidget(parent, kWindowFlags), tmrAnimate(std::make_unique<TThreadedTimer>()),
      random_(std::random_device{}())
{
    setObjectName("frmScreenSaver");
    setWindowTitle("Screen Saver");
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);

    pnlImage = new TimageColorPanel(this);
    pnlImage->setObjectName("pnlImage");
    pnlImage->SetColor(clBlack);
    pnlImage->SetBevelOuter(TPanelBevel::bvNone);
    pnlImage->SetBevelInner(TPanelBevel::bvNone);
    pnlImage->SetImageDrawStyle(TimageDrawStyle::idsScale);
    pnlImage->SetImageHorizontalAlignment(TAlignment::taCenter);
    pnlImage->SetImageVerticalAlignment(TverticalAlignment::tvaCenter);
    pnlImage->SetDrawCaption(false);

    sbSongTitle = new TScrollBanner3(pnlImage);
    sbSongTitle->setObjectName("sbSongTitle");
    sbSongTitle->SetColor(clBlack);
    sbSongTitle->SetSpaces(kBannerSpaces);
    sbSongTitle->SetScrollDelay(kScrollDelay);
    sbSongTitle->SetScrollInc(1);
    sbSongTitle->SetScrollEnabled(false);
    QFont font("Arial", kBannerPointSize);
    font.setBold(true);
    sbSongTitle->setFont(font);
    sbSongTitle->resize(width(), kBannerHeight);

    tmrAnimate->SetEnabled(false);
    tmrAnimate->SetInterval(kAnimateInterval);
    tmrAnimate->SetThreadPriority(TThreadPriority::tpNormal);
    tmrAnimate->OnTimer = [this](TThreadedTimer*) { AnimateTick(); };

    FormResize();
    SetSong(nullptr);
}

TfrmScreenSaver::~TfrmScreenSaver()
{
    tmrAnimate->SetEnabled(false);
    tmrAnimate->OnTimer = nullptr;
}

void TfrmScreenSaver::SetSong(const TaudioTag* song)
{
    if (song == nullptr || host_ == nullptr) {
        ShowApplicationTitle();
        return;
    }
    const TtagFonts& fonts = host_->ScreenSaverFonts();
    sbSongTitle->setFont(ToQFont(fonts.TitleFont()));
    sbSongTitle->SetCaption(fonts.SongCaption(*song, tdfArtistTitleAlbumTrack));
    // A fresh picture: a song without a cover must not go on showing the last song's.
    TcoverPicture cover;
    GetCoverPicture(*song, host_->AlbumArtFolder(), cover, true);
    pnlImage->SetImage(ToQImage(cover));
}

bool TfrmScreenSaver::Showing() const
{
    return isVisible() && sbSongTitle->ScrollEnabled();
}

void TfrmScreenSaver::AnimateTick()
{
    int top = 0;
    if (bannerRange_ > 0)
        top = std::uniform_int_distribution<int>(0, bannerRange_ - 1)(random_);
    sbSongTitle->move(0, top);
}

void TfrmScreenSaver::ShowApplicationTitle()
{
    sbSongTitle->SetCaption("<font color=#ff0000>" + EscapeMarkup(ApplicationTitle()));
}

void TfrmScreenSaver::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmScreenSaver::FormShow()
{
    setCursor(Qt::BlankCursor);
    tmrAnimate->SetEnabled(true);
    if (const QScreen* shown = screen())
        setGeometry(shown->geometry());
    FormResize();
    if (sbSongTitle->Caption().empty())
        ShowApplicationTitle();
    sbSongTitle->SetScrollEnabled(true);
    activateWindow();
    setFocus();
}

void TfrmScreenSaver::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmScreenSaver::FormResize()
{
    pnlImage->setGeometry(rect());
    sbSongTitle->setGeometry(0, sbSongTitle->y(), width(), kBannerHeight);
    // A screen no taller than the banner leaves it at the top.
    bannerRange_ = std::max(0, height() - kBannerHeight);
    if (sbSongTitle->y() > bannerRange_)
        sbSongTitle->move(0, bannerRange_);
}

void TfrmScreenSaver::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    close();
}

void TfrmScreenSaver::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    close();
}

void TfrmScreenSaver::closeEvent(QCloseEvent* event)
{
    // Only a screensaver that shows can be closed; a second request is refused.
    if (!sbSongTitle->ScrollEnabled()) {
        event->ignore();
        return;
    }
    event->accept();
    FormClose();
}

void TfrmScreenSaver::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Hidden without a close: it stops all the same, so the next show starts afresh.
    if (!event->spontaneous() && sbSongTitle->ScrollEnabled())
        FormClose();
}

void TfrmScreenSaver::FormClose()
{
    tmrAnimate->SetEnabled(false);
    sbSongTitle->SetScrollEnabled(false);
    unsetCursor();
}

TfrmScreenSaver* GetScreenSaverForm()
{
    QPointer<TfrmScreenSaver>& form = SharedForm();
    if (!form) {
        form = new TfrmScreenSaver;
        qAddPostRoutine(FreeSharedForm);
    }
    return form.data();
}

TfrmScreenSaver* FindScreenSaverForm()
{
    return SharedForm().data();
}

void ScreenSaverIdleTick(TidleDetector& detector, TactivityMonitor& monitor, TfrmScreenSaver* screenSaver,
                         bool hostActive)
{
    const std::uint32_t activity = monitor.Count();
    monitor.Reset();
    if (screenSaver == nullptr)
        return;
    switch (detector.Tick(activity, screenSaver->Showing(), hostActive)) {
    case TidleAction::ShowScreenSaver:
        screenSaver->show();
        break;
    case TidleAction::CloseScreenSaver:
        screenSaver->close();
        break;
    case TidleAction::None:
        break;
    }
}
