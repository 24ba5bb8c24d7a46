#include "app/dialogs/frmjukeboxinfo.h"

#include "core/jukebox/customjukebox.h"
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/util/orvanexutils.h"
#include "platform/qtstring.h"

#include "app/qt/helpers/guiutils.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

std::string Line(const char* label, std::int64_t count)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s%lld", label, static_cast<long long>(count));
    return text;
}

std::string Line(const char* label, const std::string& value)
{
    return label + value;
}

} // namespace

TfrmJukeboxInfo::TfrmJukeboxInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmJukeboxInfo");
    setWindowTitle("Information");
    setFixedSize(kMinWidth, kMinHeight);
    setSizeGripEnabled(false);

    mmoInfo = new QPlainTextEdit(this);
    mmoInfo->setObjectName("mmoInfo");
    mmoInfo->setReadOnly(true);
    mmoInfo->setFont(FixedPitchFont());
    mmoInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmoInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* bottom = new QWidget(this);
    bottom->setObjectName("pnlBottom");
    btnClose = new QPushButton("&Close", bottom);
    btnClose->setObjectName("btnClose");
    btnClose->setDefault(true);
    auto* buttons = new QHBoxLayout(bottom);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(mmoInfo, 1);
    layout->addWidget(bottom);

    // Esc reaches reject() as well: Close is the cancel button too.
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

std::vector<std::string> TfrmJukeboxInfo::InfoLines(const TcustomJukeboxList& library,
                                                    const TcustomJukebox* jukebox)
{
    const TaudioTagList& global = library.GlobalList();
    const TaudioTagList* queue = jukebox ? &jukebox->Queue() : nullptr;
    const TaudioTagPlaylistList* stacker = jukebox ? &jukebox->Stacker() : nullptr;
    const TaudioTagList* active = jukebox ? jukebox->ActivePreloadedList() : nullptr;
    return {
        "Global List Details",
        Line("  Track Count  : ", global.Count()),
        Line("  Duration     : ", SecondsToHMS(global.TotalDuration())),
        Line("  Artist Count : ", library.Artists().Count()),
        Line("  Album Count  : ", library.Albums().Count()),
        "",
        "Queue Details",
        Line("  Track Count : ", queue ? queue->Count() : 0),
        Line("  Duration    : ", SecondsToHMS(queue ? queue->TotalDuration() : 0)),
        "",
        "Stacker Details",
        Line("  List Count  : ", stacker ? stacker->Count() : 0),
        Line("  Track Count : ", stacker ? stacker->TotalSongs() : 0),
        Line("  Duration    : ", SecondsToHMS(stacker ? stacker->TotalDuration() : 0)),
        "",
        "Playlist Details",
        Line("  Active Playlist : ", active ? active->Title() : std::string("[none]")),
        Line("  Track Count     : ", active ? active->Count() : 0),
        Line("  Duration        : ", SecondsToHMS(active ? active->TotalDuration() : 0)),
    };
}

void TfrmJukeboxInfo::FillInfo(const TcustomJukeboxList& library, const TcustomJukebox* jukebox)
{
    mmoInfo->clear();
    for (const std::string& line : InfoLines(library, jukebox))
        mmoInfo->appendPlainText(platform::ToQString(line));
    mmoInfo->moveCursor(QTextCursor::Start);
    FitToText();
}

void TfrmJukeboxInfo::FitToText()
{
    // 292 x 273 at the least, larger where the lines (a long playlist title, a large fixed font) need it,
    // up to the screen.
    const QFontMetrics metrics(mmoInfo->font());
    int widest = 0;
    const QStringList lines = mmoInfo->toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int margins = 2 * (mmoInfo->frameWidth() + static_cast<int>(mmoInfo->document()->documentMargin()));
    const int memoWidth = widest + margins + mmoInfo->verticalScrollBar()->sizeHint().width() + 4;
    // The laid-out lines, which stand a little further apart than the font's line spacing.
    double textHeight = 0;
    QAbstractTextDocumentLayout* laidOut = mmoInfo->document()->documentLayout();
    for (QTextBlock block = mmoInfo->document()->begin(); block.isValid(); block = block.next())
        textHeight += laidOut->blockBoundingRect(block).height();
    const int memoHeight = static_cast<int>(std::ceil(textHeight)) + margins + 2;
    // Around the memo: the window's margins, the spacing and the Close row, as the layout has them.
    const QSize around = layout()->sizeHint() - mmoInfo->sizeHint();
    QSize wanted(memoWidth + around.width(), memoHeight + around.height());
    wanted = wanted.expandedTo(QSize(kMinWidth, kMinHeight));
    const int fullWidth = wanted.width();
    if (const QScreen* screen = this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size());
    // A horizontal bar only where the screen cuts the lines short.
    mmoInfo->setHorizontalScrollBarPolicy(wanted.width() < fullWidth ? Qt::ScrollBarAsNeeded
                                                                     : Qt::ScrollBarAlwaysOff);
    setFixedSize(wanted);
}

void TfrmJukeboxInfo::FillInfo(const TcustomlocalJukeboxList& library)
{
    FillInfo(library, library.Jukebox());
}

void ShowJukeboxInfo(const TcustomJukeboxList& library, const TcustomJukebox* jukebox, QWidget* parent)
{
    TfrmJukeboxInfo info(parent);
    info.FillInfo(library, jukebox);
    info.exec();
}

void ShowJukeboxInfo(const TcustomlocalJukeboxList& library, QWidget* parent)
{
    ShowJukeboxInfo(library, library.Jukebox(), parent);
}
