#include "app/dialogs/frmabout.h"

#include "controls/colorpanel.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/windowplacement.h"
#include "controls/wovfileversion.h"
#include "platform/qtstring.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kDetailsHeight = TfrmAbout::kAboutHeight - TfrmAbout::kLogoHeight;

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("frmAbout");
    setWindowTitle("Vantrel Audio System");
    setFixedSize(kFormWidth, kAboutHeight);

    pnlTop = new QWidget(this);
    pnlTop->setObjectName("pnlTop");
    pnlTop->setGeometry(0, 0, kFormWidth, kLogoHeight);
    imgLogo = new QLabel(pnlTop);
    imgLogo->setObjectName("imgLogo");
    imgLogo->move(0, 0);

    pnlDetails = new TcolorPanel(this);
    pnlDetails->setObjectName("pnlDetails");
    pnlDetails->setGeometry(0, kLogoHeight, kFormWidth, kDetailsHeight);
    pnlDetails->SetBevelInner(TPanelBevel::bvLowered);
    pnlDetails->SetColor(RGBColor(0x71, 0x46, 0x13));

    lbDetails = new ThtmlListBox(pnlDetails);
    lbDetails->setObjectName("lbDetails");
    lbDetails->setFrameShape(QFrame::NoFrame);
    lbDetails->SetItemHeight(16);
    lbDetails->SetShowHighlight(false);
    lbDetails->setGeometry(5, 5, 290, 165);
    lbDetails->SetColor(clBackground);
    lbDetails->viewport()->setMouseTracking(true);
    lbDetails->installEventFilter(this);
    lbDetails->viewport()->installEventFilter(this);

    // Takes the focus away from the list; out of sight.
    Button1 = new QPushButton("Button1", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(-100, 0, 75, 25);

    tmrSplash = new QTimer(this);
    tmrSplash->setObjectName("tmrSplash");
    tmrSplash->setInterval(7000);
    connect(tmrSplash, &QTimer::timeout, this, [this] { SplashTimerTick(); });

    appDetails_.SetColor(clBlack);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::SetLogo(const QImage& logo)
{
    imgLogo->setPixmap(QPixmap::fromImage(logo));
    imgLogo->adjustSize();
}

void TfrmAbout::ShowAboutBox()
{
    if (isVisible())
        reject();
    if (isVisible())
        return;
    setFixedHeight(kAboutHeight);
    ProcessMessages();
    pnlDetails->show();
    ProcessMessages();
    exec();
}

void TfrmAbout::ShowSplash()
{
    if (isVisible())
        reject();
    pnlDetails->hide();
    ProcessMessages();
    setFixedHeight(kLogoHeight);
    tmrSplash->start();
    mayClose_ = false;
    show();
    raise();
}

void TfrmAbout::reject()
{
    if (!mayClose_)
        return;
    QDialog::reject();
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmAbout::FormShow()
{
    if (pnlDetails->isVisibleTo(this)) {
        lbDetails->Items().Clear();
        appDetails_.SetVersionNotice(VersionNotice());
        appDetails_.WriteToHTMLListBox(*lbDetails);
    }
    CentreOnOwner(*this);
}

std::string TfrmAbout::VersionNotice() const
{
    TwovFileVersion version;
    version.ReadFromFile(programFile_.empty() ? platform::FromQString(QCoreApplication::applicationFilePath())
                                              : programFile_);
    char text[128];
    std::snprintf(text, sizeof text, "Version : %d.%d (Release %d Build %d)%s", version.Major(),
                  version.Minor(), version.Release(), version.Build(), " BETA");
    return text;
}

void TfrmAbout::SplashTimerTick()
{
    mayClose_ = true;
    tmrSplash->stop();
    close();
}

void TfrmAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Clicks on the form reach here from both panels and the logo, which leave the mouse to their parent.
void TfrmAbout::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        reject();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbDetails || watched == lbDetails->viewport())
        return DetailsListEvent(event);
    return QDialog::eventFilter(watched, event);
}

bool TfrmAbout::DetailsListEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        const int line = lbDetails->ItemAtPos(move->position().toPoint(), true);
        if (IsLinkLine(line))
            lbDetails->viewport()->setCursor(Qt::PointingHandCursor);
        else
            lbDetails->viewport()->unsetCursor();
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        const int line = lbDetails->ItemAtPos(release->position().toPoint(), true);
        if (release->button() == Qt::LeftButton && line >= 0 && lbDetails->Selected(line) && linksEnabled_)
            appDetails_.DoHTMLListboxItemClick(*lbDetails, line);
        Button1->setFocus();
        return false;
    }
    case QEvent::KeyPress:
        // The form sees keys first: Esc closes it from the list as well.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        Button1->setFocus();
        return true;
    default:
        return false;
    }
}

bool TfrmAbout::IsLinkLine(int line) const
{
    return linksEnabled_ && line >= 0 &&
           (line == appDetails_.GetWebLine() || line == appDetails_.GetSupportLine() ||
            line == appDetails_.GetSalesLine());
}

void TfrmAbout::ProcessMessages()
{
    QCoreApplication::processEvents();
}
