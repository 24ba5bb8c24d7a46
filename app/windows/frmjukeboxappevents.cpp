// The library browser window's event handlers: drag and drop between the tree and the lists, the tree's
// letter keys, the queue's Delete key and the songs' detail hints.
#include "app/windows/frmjukeboxapp.h"

#include "app/qt/services/exceptionboundary.h"
#include "controls/dragpayload.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/songs/audiotag.h"
#include "platform/qtstring.h"

#include <QAction>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

#include <algorithm>
#include <cstdio>

// ---- Drag and drop

void TfrmJukeboxApp::BindDragAndDrop()
{
    tvJukeboxList->SetAutoDrag(true);
    lbTrackList->SetAutoDrag(true);
    lbQueueList->SetAutoDrag(true);
    lbQueueList->SetDropNodeKinds(With(0, tnkAlbum));

    tvJukeboxList->OnStartDrag = [this](QObject*, TdragPayload& drag) {
        treeDragIsAlbum_ = std::all_of(drag.Nodes().begin(), drag.Nodes().end(),
                                       [](const TdragPayload::Node& node) { return node.Kind == tnkAlbum; });
    };
    tvJukeboxList->OnEndDrag = [this](QObject*, QObject*, int, int) { treeDragIsAlbum_ = false; };
    lbTrackList->OnStartDrag = [this](QObject*, TdragPayload& drag) {
        drag.SetCursor(lbTrackList->SelCount() < 2 ? TdragCursor::Drag : TdragCursor::MultiDrag);
    };
    lbQueueList->OnStartDrag = [this](QObject*, TdragPayload& drag) {
        queueDragSource_ = drag.Rows().empty() ? lbQueueList->ItemIndex() : drag.Rows().front();
    };
    lbQueueList->OnEndDrag = [this](QObject*, QObject*, int, int) { queueDragSource_ = -1; };
    lbQueueList->OnDragOver = [this](QObject*, const TdragPayload& source, int x, int y, TdragState state,
                                     bool& accept) {
        accept = QueueAccepts(source);
        if (accept && state == TdragState::Move && source.Source() == lbQueueList) {
            const int row = lbQueueList->ItemAtPos(QPoint(x, y), true);
            if (row >= 0)
                lbQueueList->SetItemIndex(row);
        }
    };
    lbQueueList->OnDragDrop = [this](QObject*, const TdragPayload& source, int x, int y) {
        Guarded([&] { QueueDrop(source, x, y); });
    };
}

bool TfrmJukeboxApp::QueueAccepts(const TdragPayload& source) const
{
    if (!source.IsCurrent())
        return false;
    if (source.Source() == lbQueueList)
        return !source.Rows().empty() && PartyPlayGate().Allows(TpartyPlayOption::QueueControls);
    if (source.Source() == lbTrackList)
        return !source.Rows().empty();
    if (source.Source() == tvJukeboxList)
        return !source.Nodes().empty() && source.NodesIn(With(0, tnkAlbum));
    return false;
}

void TfrmJukeboxApp::QueueDrop(const TdragPayload& source, int x, int y)
{
    if (!QueueAccepts(source))
        return;
    // A move within the queue is a queue control; songs from the library are added like Add Selected.
    const TpartyPlayOption option =
        source.Source() == lbQueueList ? TpartyPlayOption::QueueControls : TpartyPlayOption::None;
    Commands().RunGated(option, false, [&] { DropOnQueue(source, x, y); });
}

void TfrmJukeboxApp::DropOnQueue(const TdragPayload& source, int x, int y)
{
    if (source.Source() == lbQueueList) {
        const int count = GetJukebox().Queue().Count();
        const int from = source.Rows().front();
        int to = lbQueueList->ItemAtPos(QPoint(x, y), true);
        if (to < 0)
            to = count - 1;
        if (from < 0 || from >= count || to < 0)
            return;
        MoveQueueItem(from, to, true);
        SelectQueueLine(to);
    } else if (source.Source() == lbTrackList) {
        QueueRows(source.Rows());
    } else {
        for (const TdragPayload::Node& node : source.Nodes())
            if (TaudioTagList* album = model_->Data(node.Handle);
                album && model_->Kind(node.Handle) == tnkAlbum)
                GetLocalJukeboxList().QueueList(*album, true);
    }
}

// ---- Keys and hints

std::string TfrmJukeboxApp::TrackDetails(const TaudioTag& song)
{
    const std::uint32_t seconds = song.Duration();
    char length[32];
    std::snprintf(length, sizeof length, "%u:%02u", seconds / 60, seconds % 60);
    return "File : " + song.Filename() + "\rArtist : " + song.Artist() + "\rTitle : " + song.Title() +
           "\rAlbum : " + song.Album() + "\rLength : " + length +
           "\rBit Rate : " + std::to_string(song.BitRate()) +
           "kbps\rSample Rate : " + std::to_string(song.SampleRate()) + "Hz";
}

const TaudioTag* TfrmJukeboxApp::SongAt(const ThtmlListBox& box, const QPoint& at) const
{
    const int row = box.ItemAtPos(at, true);
    return row < 0 ? nullptr : static_cast<const TaudioTag*>(box.Items().Objects(row));
}

bool TfrmJukeboxApp::eventFilter(QObject* watched, QEvent* event)
{
    // A shortcut that opens a window (Ctrl+I, Ctrl+F) takes the focus before Ctrl is let go: the release
    // never comes here.
    if (watched == tvJukeboxList && event->type() == QEvent::FocusOut)
        modifierHeld_ = false;
    if (watched == tvJukeboxList &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool modifier = key->key() == Qt::Key_Control || key->key() == Qt::Key_Shift;
        if (modifier) {
            modifierHeld_ = event->type() == QEvent::KeyPress;
        } else if (event->type() == QEvent::KeyPress && !modifierHeld_ && key->text().size() == 1) {
            const QChar ch = key->text().front();
            if (ch.isLetterOrNumber() && ch.unicode() < 128) {
                Guarded([&] { JumpToAlpha(static_cast<char>(ch.unicode())); });
                return true;
            }
        }
    } else if (watched == lbQueueList && event->type() == QEvent::KeyRelease &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        actnQueueDelete->trigger();
        return true;
    } else if (event->type() == QEvent::ToolTip && showTrackDetails_) {
        for (ThtmlListBox* box : {lbTrackList, lbQueueList}) {
            if (watched != box->viewport())
                continue;
            const auto* help = static_cast<QHelpEvent*>(event);
            const TaudioTag* song = SongAt(*box, help->pos());
            QString text = song ? platform::ToQString(TrackDetails(*song)) : QString();
            text.replace(QChar('\r'), QChar('\n'));
            QToolTip::showText(help->globalPos(), text, box);
            return true;
        }
    }
    return TfrmJukebox::eventFilter(watched, event);
}
