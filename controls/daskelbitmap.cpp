#include "controls/daskelbitmap.h"

#include "controls/qtcolor.h"
#include "controls/skindraw.h"

#include <QPainter>

QRect FitPictureRect(QSize box, QSize picture, TdaskelBitmapStyle style, TdaskelBitmapAlignment alignment)
{
    const long long W = box.width();
    const long long H = box.height();
    const long long pw = picture.width();
    const long long ph = picture.height();
    // A box or picture without area has nothing to fit (and no ratio to divide by).
    if (W <= 0 || H <= 0 || pw <= 0 || ph <= 0) {
        return {};
    }
    if (style == TdaskelBitmapStyle::dbsStretch) {
        return QRect(0, 0, int(W), int(H));
    }
    long long fw = W;
    long long fh = H;
    if (pw * H >= W * ph) {
        fh = RoundDivHalfEven(W * ph, pw);
    } else {
        fw = RoundDivHalfEven(pw * H, ph);
    }
    long long x = 0;
    long long y = 0;
    switch (alignment) {
    case TdaskelBitmapAlignment::dbaCenter:
        x = RoundDivHalfEven(W - fw, 2);
        y = RoundDivHalfEven(H - fh, 2);
        break;
    case TdaskelBitmapAlignment::dbaRightBottom:
        x = W - fw;
        y = H - fh;
        break;
    case TdaskelBitmapAlignment::dbaLeftTop:
        break;
    }
    return QRect(int(x), int(y), int(fw), int(fh));
}

std::vector<QPoint> TileOrigins(QSize box, QSize picture)
{
    std::vector<QPoint> origins;
    if (picture.width() <= 0 || picture.height() <= 0) {
        return origins;
    }
    for (int y = 0; y < box.height(); y += picture.height()) {
        for (int x = 0; x < box.width(); x += picture.width()) {
            origins.emplace_back(x, y);
        }
    }
    return origins;
}

TdaskelBitmap::TdaskelBitmap(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(105, 105);
    picture_.OnChange = [this](TPicture*) {
        RenderBuffer();
        update();
    };
}

TdaskelBitmap::~TdaskelBitmap()
{
    picture_.OnChange = nullptr;
}

void TdaskelBitmap::SetPicture(const QImage& value)
{
    picture_.Assign(value);
}

void TdaskelBitmap::SetStyle(TdaskelBitmapStyle value)
{
    style_ = value;
    RenderBuffer();
    update();
}

void TdaskelBitmap::SetAlignment(TdaskelBitmapAlignment value)
{
    alignment_ = value;
    RenderBuffer();
    update();
}

void TdaskelBitmap::SetColor(TColor value)
{
    color_ = value;
    RenderBuffer();
    update();
}

void TdaskelBitmap::SetDesigning(bool value)
{
    designing_ = value;
    RenderBuffer();
    update();
}

void TdaskelBitmap::RenderBuffer()
{
    if (buffer_.size() != size()) {
        buffer_ = QImage(size(), QImage::Format_BGR888);
    }
    if (buffer_.isNull()) {
        return;
    }
    buffer_.fill(ToQColor(color_));
    QPainter painter(&buffer_);
    if (designing_) {
        painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(buffer_.rect().adjusted(0, 0, -1, -1));
    }
    if (picture_.Empty()) {
        return;
    }
    const QImage& graphic = picture_.Graphic();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (style_ == TdaskelBitmapStyle::dbsTile) {
        for (const QPoint& origin : TileOrigins(size(), graphic.size())) {
            painter.drawImage(origin, graphic);
        }
        return;
    }
    const QRect target = FitPictureRect(size(), graphic.size(), style_, alignment_);
    if (!target.isEmpty()) {
        painter.drawImage(target, graphic);
    }
}

void TdaskelBitmap::paintEvent(QPaintEvent*)
{
    if (buffer_.size() != size()) {
        RenderBuffer();
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), buffer_);
}

void TdaskelBitmap::resizeEvent(QResizeEvent* event)
{
    RenderBuffer();
    QWidget::resizeEvent(event);
}
