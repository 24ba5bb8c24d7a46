#include "controls/alignsplitter.h"

#include "controls/skindraw.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

TalignSplitter::TalignSplitter(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(3, 100);
    ApplyAlign();
}

TalignSplitter::~TalignSplitter()
{
    delete line_.data();
}

void TalignSplitter::SetAlign(TAlign value)
{
    align_ = value;
    ApplyAlign();
}

void TalignSplitter::ApplyAlign()
{
    if (align_ == TAlign::alTop || align_ == TAlign::alBottom) {
        setCursor(Qt::SplitVCursor);
    } else {
        setCursor(Qt::SplitHCursor);
    }
    if (parentWidget()) {
        TalignLayout::SetAlign(this, align_);
    }
}

void TalignSplitter::SetBeveled(bool value)
{
    beveled_ = value;
    update();
}

void TalignSplitter::SetColor(TColor value)
{
    color_ = value;
    update();
}

void TalignSplitter::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        ApplyAlign();
    }
    QWidget::changeEvent(event);
}

QWidget* TalignSplitter::FindControl() const
{
    const QWidget* parent = parentWidget();
    if (!parent) {
        return nullptr;
    }
    QPoint p = pos();
    switch (align_) {
    case TAlign::alLeft:
        p.rx() -= 1;
        break;
    case TAlign::alRight:
        p.rx() += width();
        break;
    case TAlign::alTop:
        p.ry() -= 1;
        break;
    case TAlign::alBottom:
        p.ry() += height();
        break;
    default:
        return nullptr;
    }
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w == this || w->isWindow() || w->isHidden() || !w->isEnabled() || w == line_) {
            continue;
        }
        QRect r = w->geometry();
        // A collapsed neighbour still counts on the side it collapsed to.
        const bool before = align_ == TAlign::alTop || align_ == TAlign::alLeft;
        int x1 = r.left();
        int x2 = r.left() + r.width();
        int y1 = r.top();
        int y2 = r.top() + r.height();
        if (x2 == x1) {
            before ? --x1 : ++x2;
        }
        if (y2 == y1) {
            before ? --y1 : ++y2;
        }
        if (p.x() >= x1 && p.x() < x2 && p.y() >= y1 && p.y() < y2) {
            return w;
        }
    }
    return nullptr;
}

void TalignSplitter::CalcSplitSize(const QPoint& point, int& newSize, int& split) const
{
    split = Horizontal() ? point.x() - downPos_.x() : point.y() - downPos_.y();
    int s = 0;
    switch (align_) {
    case TAlign::alLeft:
        s = control_->width() + split;
        break;
    case TAlign::alRight:
        s = control_->width() - split;
        break;
    case TAlign::alTop:
        s = control_->height() + split;
        break;
    case TAlign::alBottom:
        s = control_->height() - split;
        break;
    default:
        break;
    }
    newSize = s;
    if (s < minSize_) {
        newSize = minSize_;
    } else if (s > maxSize_) {
        newSize = maxSize_;
    }
    if (s != newSize) {
        if (align_ == TAlign::alRight || align_ == TAlign::alBottom) {
            s = s - newSize;
        } else {
            s = newSize - s;
        }
        split += s;
    }
}

bool TalignSplitter::DoCanResize(int& newSize)
{
    bool accept = true;
    if (OnCanResize) {
        OnCanResize(this, newSize, accept);
    }
    if (accept && newSize <= minSize_ && autoSnap_) {
        newSize = 0;
    }
    return accept;
}

void TalignSplitter::UpdateControlSize()
{
    if (!control_ || newSize_ == oldSize_) {
        return;
    }
    if (Horizontal()) {
        control_->resize(newSize_, control_->height());
    } else {
        control_->resize(control_->width(), newSize_);
    }
    if (TalignLayout* layout = TalignLayout::Of(parentWidget())) {
        layout->Realign();
    }
    if (OnMoved) {
        OnMoved(this);
    }
    oldSize_ = newSize_;
}

void TalignSplitter::ShowLine()
{
    if (resizeStyle_ != TResizeStyle::rsLine && resizeStyle_ != TResizeStyle::rsPattern) {
        return;
    }
    if (!line_) {
        line_ = new QRubberBand(QRubberBand::Line, parentWidget());
    }
    const QRect r = geometry().translated(Horizontal() ? split_ : 0, Horizontal() ? 0 : split_);
    line_->setGeometry(r);
    line_->show();
    line_->raise();
}

void TalignSplitter::StopSizing()
{
    delete line_.data();
    control_ = nullptr;
}

void TalignSplitter::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !parentWidget()) {
        return;
    }
    control_ = FindControl();
    downPos_ = event->position().toPoint();
    if (!control_) {
        return;
    }
    const QRect client = parentWidget()->contentsRect();
    maxSize_ = (Horizontal() ? client.width() : client.height()) - minSize_;
    if (const TalignLayout* layout = TalignLayout::Of(parentWidget())) {
        for (QWidget* w : layout->AlignedWidgets()) {
            if (w->isHidden()) {
                continue;
            }
            const TAlign a = layout->Align(w);
            if (Horizontal() && (a == TAlign::alLeft || a == TAlign::alRight)) {
                maxSize_ -= w->width();
            } else if (!Horizontal() && (a == TAlign::alTop || a == TAlign::alBottom)) {
                maxSize_ -= w->height();
            }
        }
    }
    maxSize_ += Horizontal() ? control_->width() : control_->height();
    oldSize_ = -1;
    CalcSplitSize(downPos_, newSize_, split_);
    ShowLine();
}

void TalignSplitter::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!(event->buttons() & Qt::LeftButton) || !control_) {
        return;
    }
    int newSize = 0;
    int split = 0;
    CalcSplitSize(event->position().toPoint(), newSize, split);
    if (!DoCanResize(newSize)) {
        return;
    }
    newSize_ = newSize;
    split_ = split;
    if (resizeStyle_ == TResizeStyle::rsUpdate) {
        UpdateControlSize();
    } else {
        ShowLine();
    }
}

void TalignSplitter::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !control_) {
        return;
    }
    UpdateControlSize();
    StopSizing();
}

void TalignSplitter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor face = SkinColorToQColor(color_);
    painter.fillRect(rect(), face);
    if (beveled_) {
        // A raised edge along the splitter's length.
        const QColor light = SkinColorToQColor(clBtnHighlight);
        const QColor dark = SkinColorToQColor(clBtnShadow);
        if (Horizontal()) {
            painter.fillRect(QRect(1, 0, 1, height()), light);
            painter.fillRect(QRect(width() - 2, 0, 1, height()), dark);
        } else {
            painter.fillRect(QRect(0, 1, width(), 1), light);
            painter.fillRect(QRect(0, height() - 2, width(), 1), dark);
        }
    }
}
