#include "TControlBar.h"

#include "TPanel.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

QRect BandAround(const QRect &control)
{
    return control.adjusted(-BandGrabWidth, -BandEdge, BandEdge, BandEdge);
}

namespace {

struct Band
{
    std::size_t index; // of the control in the caller's list
    QRect rect;
    int requestedRow;
};

int RowUnderMiddle(const QRect &band, int rowSize)
{
    const int middle = band.top() + band.height() / 2;
    return middle < 0 ? 0 : middle / rowSize;
}

// A row is as high as its tallest band, in whole rows.
int RowHeight(std::vector<Band>::const_iterator first, std::vector<Band>::const_iterator last,
              int rowSize)
{
    int tallest = 0;
    for (auto band = first; band != last; ++band)
        tallest = std::max(tallest, band->rect.height());
    return std::max(1, (tallest + rowSize - 1) / rowSize) * rowSize;
}

} // namespace

TBandLayout LayOutBands(const std::vector<QRect> &controls, int containerWidth, int rowSize)
{
    rowSize = std::max(1, rowSize);
    std::vector<Band> bands;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const QRect band = BandAround(controls[i]);
        bands.push_back({i, band, RowUnderMiddle(band, rowSize)});
    }
    std::stable_sort(bands.begin(), bands.end(), [](const Band &a, const Band &b) {
        if (a.requestedRow != b.requestedRow)
            return a.requestedRow < b.requestedRow;
        return a.rect.left() < b.rect.left();
    });

    TBandLayout layout;
    layout.positions.resize(controls.size());
    int rowTop = 0;
    for (auto first = bands.cbegin(); first != bands.cend();) {
        const auto last = std::find_if(first, bands.cend(), [&](const Band &band) {
            return band.requestedRow != first->requestedRow;
        });
        int right = 0;
        for (auto band = first; band != last; ++band) {
            const int wanted = std::min(band->rect.left(), containerWidth - band->rect.width());
            const int left = std::max(right, wanted);
            layout.positions[band->index] = QPoint(left + BandGrabWidth, rowTop + BandEdge);
            right = left + band->rect.width();
        }
        rowTop += RowHeight(first, last, rowSize);
        first = last;
    }
    layout.height = rowTop + 2 * ControlBarFrame;
    return layout;
}

TControlBar::TControlBar(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void TControlBar::SetAutoSize(bool on)
{
    autoSize_ = on;
    ArrangeBands();
}

void TControlBar::SetRowSize(int size)
{
    rowSize_ = std::max(1, size);
    ArrangeBands();
}

void TControlBar::Loaded()
{
    ArrangeBands();
}

std::vector<QWidget *> TControlBar::BandControls() const
{
    std::vector<QWidget *> controls;
    for (QObject *object : children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow() && !child->isHidden())
            controls.push_back(child);
    }
    return controls;
}

QWidget *TControlBar::ControlAtHandle(const QPoint &pos) const
{
    for (QWidget *control : BandControls()) {
        const QRect band = BandAround(control->geometry());
        if (QRect(band.topLeft(), QSize(BandGrabWidth, band.height())).contains(pos))
            return control;
    }
    return nullptr;
}

void TControlBar::ArrangeBands()
{
    // Moving the bands raises events that ask for another arrangement; they are taken up
    // once this one is done.
    if (arranging_) {
        arrangeAgain_ = true;
        return;
    }
    arranging_ = true;
    // The layout is stable, so a second pass settles what the first pass set off.
    for (int pass = 0; pass < 3; ++pass) {
        arrangeAgain_ = false;
        ApplyBandLayout();
        if (!arrangeAgain_)
            break;
    }
    arranging_ = false;
}

void TControlBar::ApplyBandLayout()
{
    const std::vector<QWidget *> controls = BandControls();
    std::vector<QRect> geometries;
    for (const QWidget *control : controls)
        geometries.push_back(control->geometry());
    const TBandLayout layout = LayOutBands(geometries, width(), rowSize_);
    for (std::size_t i = 0; i < controls.size(); ++i)
        controls[i]->move(layout.positions[i]);
    // The parent's realignment follows this resize and moves the controls below.
    if (autoSize_ && height() != layout.height)
        resize(width(), layout.height);
    update();
}

bool TControlBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched->parent() == this) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            ArrangeBands();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TControlBar::childEvent(QChildEvent *event)
{
    QWidget::childEvent(event);
    if (!event->child()->isWidgetType())
        return;
    if (event->added()) {
        event->child()->installEventFilter(this);
    } else if (event->removed()) {
        event->child()->removeEventFilter(this);
        ArrangeBands();
    }
}

void TControlBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ArrangeBands();
}

void TControlBar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    ArrangeBands();
}

void TControlBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (const QWidget *control : BandControls())
        DrawBand(painter, BandAround(control->geometry()));
    DrawFrame(painter);
}

void TControlBar::DrawBand(QPainter &painter, const QRect &band) const
{
    DrawBevel(painter, band, bvRaised);
    // The grab handle: two raised grip lines.
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const int top = band.top() + 3;
    const int bottom = band.bottom() - 3;
    for (const int x : {band.left() + 3, band.left() + 6}) {
        painter.setPen(light);
        painter.drawLine(x, top, x, bottom);
        painter.setPen(dark);
        painter.drawLine(x + 1, top, x + 1, bottom);
    }
}

void TControlBar::DrawFrame(QPainter &painter) const
{
    // An etched edge above and below the rows.
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(dark);
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, bottom - 1, right, bottom - 1);
    painter.setPen(light);
    painter.drawLine(0, 1, right, 1);
    painter.drawLine(0, bottom, right, bottom);
}

void TControlBar::mousePressEvent(QMouseEvent *event)
{
    QWidget *control =
        event->button() == Qt::LeftButton ? ControlAtHandle(event->position().toPoint()) : nullptr;
    if (!control) {
        QWidget::mousePressEvent(event);
        return;
    }
    drag_ = BandDrag{control, event->position().toPoint(), control->pos()};
    setCursor(Qt::SizeAllCursor);
    event->accept();
}

void TControlBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!drag_ || !drag_->control) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    // The control asks for where the mouse took it; the arrangement puts it into a row.
    drag_->control->move(drag_->startPos + event->position().toPoint() - drag_->pressPos);
    event->accept();
}

void TControlBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (!drag_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    drag_.reset();
    unsetCursor();
    event->accept();
}
