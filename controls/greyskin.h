#pragma once

// A grey skin drawn in code (the control gallery's and the shipped Default skin's), following the controls'
// frame conventions: grey around mid-grey 128 takes the control's colours, pure colours stay, mask frames are
// white inside and black outside.

#include <QImage>

namespace greyskin {

// A dark grey mark on a button's faces, so that it follows the button's colour like the face does.
enum class Symbol
{
    None,
    Close,     // a cross
    Menu,      // three bars
    Help,      // a question mark
    Minimize,  // a bar at the bottom
    Maximize,  // a window frame
    Configure, // a cog
    Power,     // the power sign
    MoveTo,    // an arrow to the right
    MoveUp,    // an arrow up
    MoveDown,  // an arrow down
    Delete,    // a bar across
    Shuffle,   // a zigzag
};

QImage PushButton(int w, int h, Symbol symbol = Symbol::None);
QImage CheckButton(int w, int h, Symbol symbol = Symbol::None);
// Four round buttons (play, next, pause, stop) with their hit map.
QImage MultiButton(int w, int h);
// Panel pieces: corners and edges of a raised frame, and a title bar.
QImage PanelCorner(int size, int corner); // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right
QImage PanelEdge(int length, int thickness, int side); // 0 top, 1 left, 2 right, 3 bottom
QImage PanelMiddle(int size);
QImage TitleEnd(int w, int h, bool left);
QImage TitleCentre(int w, int h);
// Scroll-bar parts: arrows (up, down, left or right) and the thumb, three frames each; the track tile.
QImage ScrollArrow(int size, int direction); // 0 up, 1 down, 2 left, 3 right
QImage ScrollThumb(int w, int h);
QImage ScrollTrack(int w, int h);
QImage SplitterGrip(int w, int h);
// A grey glyph template (127 neutral).
QImage Glyph(int size, bool twoHalves);

} // namespace greyskin
