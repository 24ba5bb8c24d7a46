#pragma once

#include "controls/controlevents.h"
#include "controls/dragcontrol.h"
#include "markup/color.h"
#include "markup/fontdesc.h"

#include <QListView>
#include <QPointer>

#include <functional>
#include <memory>

class ThtmlListItems;
class TImageList;

// Asks for the image of line `index`; an image index below 0 means none.
using TonHTMLlistBoxGetImageIndexEvent = std::function<void(QObject* sender, int index, int& imageIndex)>;

// A list box whose lines are tagged text, each optionally led by an image.
// Selected lines are drawn in the highlight colours with the highlight text colour forced on every run
// after a tag (ShowHighlight); the text before a line's first tag keeps the highlight text colour too.
// A drag of the selected lines carries their rows (TdragControl).
class ThtmlListBox : public QListView, public TdragControl
{
    Q_OBJECT
public:
    explicit ThtmlListBox(QWidget* parent = nullptr);
    ~ThtmlListBox() override;

    ThtmlListItems& Items() { return *items_; }
    const ThtmlListItems& Items() const { return *items_; }
    int Count() const;

    // The list box's font and text colour; setting it also sets the line height to 1.6 times the point size.
    TFontDesc LFont() const;
    void SetLFont(const TFontDesc& font);

    TImageList* Images() const;
    void SetImages(TImageList* images);

    bool ShowHighlight() const { return showHighlight_; }
    void SetShowHighlight(bool value);

    // Background colour of the lines.
    TColor Color() const;
    void SetColor(TColor color);

    int ItemHeight() const { return itemHeight_; }
    // A line's width: the whole view in a top-to-bottom list, the picture and the text side by side in a
    // left-to-right one (which then sizes each line on its own).
    int ItemWidth(int index) const;
    // Heights of 0 or less are ignored.
    void SetItemHeight(int value);

    bool MultiSelect() const;
    void SetMultiSelect(bool value);

    // The focused line, -1 for none. Setting it in a multi-select list moves the focus only.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    int TopIndex() const;
    void SetTopIndex(int index);
    // The line at a point of the viewport; outside every line -1, or Count() when not `existing`.
    int ItemAtPos(const QPoint& pos, bool existing) const;
    // The rectangle of a line in viewport coordinates.
    QRect ItemRect(int index) const;

    TonHTMLlistBoxGetImageIndexEvent OnGetImageIndex;
    TonHTMLlistBoxGetImageIndexEvent OnGetSelectedImageIndex;
    // Raised after each mouse-wheel turn has been handled.
    TNotifyEvent OnScrolled;

    // Draws line `index` into `rect`. Qt paints widgets off screen and shows the result at once, so lines
    // are drawn straight into the view.
    virtual void DrawItem(QPainter& painter, int index, const QRect& rect, bool selected);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void DoScrolled();
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class Delegate;

    std::unique_ptr<ThtmlListItems> items_;
    std::unique_ptr<Delegate> delegate_;
    QPointer<TImageList> images_;
    bool showHighlight_ = true;
    int itemHeight_ = 13;
};
