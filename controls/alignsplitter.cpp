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
    delete m_line.data();
}

void TalignSplitter::SetAlign(TAlign value)
{
    m_align = value;
    ApplyAlign();
}

void TalignSplitter::ApplyAlign()
{
    if (m_align == TAlign::alTop || m_align == TAlign::alBottom) {
        setCursor(Qt::SplitVCursor);
    } else {
        setCursor(Qt::SplitHCursor);
    }
    if (parentWidget()) {
        TalignLayout::SetAlign(this, m_align);
    }
}

void TalignSplitter::SetBeveled(bool value)
{
    m_beveled = value;
    update();
}

void TalignSplitter::SetColor(TColor value)
{
    m_color = value;
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
    switch (m_align) {
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
        if (!w || w == this || w->isWindow() || w->isHidden() || !w->isEnabled() || w == m_line) {
            continue;
        }
        QRect r = w->geometry();
        // A collapsed neighbour still counts on the side it collapsed to.
        const bool before = m_align == TAlign::alTop || m_align == TAlign::alLeft;
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
    split = Horizontal() ? point.x() - m_downPos.x() : point.y() - m_downPos.y();
    int s = 0;
    switch (m_align) {
    case TAlign::alLeft:
        s = m_control->width() + split;
        break;
    case TAlign::alRight:
        s = m_control->width() - split;
        break;
    case TAlign::alTop:
        s = m_control->height() + split;
        break;
    case TAlign::alBottom:
        s = m_control->height() - split;
        break;
    default:
        break;
    }
    newSize = s;
    if (s < m_minSize) {
        newSize = m_minSize;
    } else if (s > m_maxSize) {
        newSize = m_maxSize;
    }
    if (s != newSize) {
        if (m_align == TAlign::alRight || m_align == TAlign::alBottom) {
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
    if (accept && newSize <= m_minSize && m_autoSnap) {
        newSize = 0;
    }
    return accept;
}

void TalignSplitter::UpdateControlSize()
{
    if (!m_control || m_newSize == m_oldSize) {
        return;
    }
    if (Horizontal()) {
        m_control->resize(m_newSize, m_control->height());
    } else {
        m_control->resize(m_control->width(), m_newSize);
    }
    if (TalignLayout* layout = TalignLayout::Of(parentWidget())) {
        layout->Realign();
    }
    if (OnMoved) {
        OnMoved(this);
    }
    m_oldSize = m_newSize;
}

void TalignSplitter::ShowLine()
{
    if (m_resizeStyle != TResizeStyle::rsLine && m_resizeStyle != TResizeStyle::rsPattern) {
        return;
    }
    if (!m_line) {
        m_line = new QRubberBand(QRubberBand::Line, parentWidget());
    }
    const QRect r = geometry().translated(Horizontal() ? m_split : 0, Horizontal() ? 0 : m_split);
    m_line->setGeometry(r);
    m_line->show();
    m_line->raise();
}

void TalignSplitter::StopSizing()
{
    delete m_line.data();
    m_control = nullptr;
}

void TalignSplitter::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !parentWidget()) {
        return;
    }
    m_control = FindControl();
    m_downPos = event->position().toPoint();
    if (!m_control) {
        return;
    }
    const QRect client = parentWidget()->contentsRect();
    m_maxSize = (Horizontal() ? client.width() : client.height()) - m_minSize;
    if (const TalignLayout* layout = TalignLayout::Of(parentWidget())) {
        for (QWidget* w : layout->AlignedWidgets()) {
            if (w->isHidden()) {
                continue;
            }
            const TAlign a = layout->Align(w);
            if (Horizontal() && (a == TAlign::alLeft || a == TAlign::alRight)) {
                m_maxSize -= w->width();
            } else if (!Horizontal() && (a == TAlign::alTop || a == TAlign::alBottom)) {
                m_maxSize -= w->height();
            }
        }
    }
    m_maxSize += Horizontal() ? m_control->width() : m_control->height();
    m_oldSize = -1;
    CalcSplitSize(m_downPos, m_newSize, m_split);
    ShowLine();
}

void TalignSplitter::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!(event->buttons() & Qt::LeftButton) || !m_control) {
        return;
    }
    int newSize = 0;
    int split = 0;
    CalcSplitSize(event->position().toPoint(), newSize, split);
    if (!DoCanResize(newSize)) {
        return;
    }
    m_newSize = newSize;
    m_split = split;
    if (m_resizeStyle == TResizeStyle::rsUpdate) {
        UpdateControlSize();
    } else {
        ShowLine();
    }
}

void TalignSplitter::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_control) {
        return;
    }
    UpdateControlSize();
    StopSizing();
}

void TalignSplitter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor face = SkinColorToQColor(m_color);
    painter.fillRect(rect(), face);
    if (m_beveled) {
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
