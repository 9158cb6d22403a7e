#include "TSplitter.h"

#include "TAlign.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

int ProposedSplitSize(int startSize, int distance, const TSplitLimits &limits)
{
    const int maxSize = std::max(0, limits.maxSize);
    const int size = std::min(startSize + distance, maxSize);
    if (size > limits.minSize)
        return size;
    if (limits.autoSnap)
        return 0;
    return std::min(limits.minSize, maxSize);
}

namespace {

// The bar shown where the splitter will go: the pixels beneath it inverted, every other one
// (a fine hatch) for rsPattern, all of them for rsLine.
class TDragBar : public QWidget
{
public:
    TDragBar(QWidget *window, bool hatched) : QWidget(window), hatched_(hatched)
    {
        setObjectName(QStringLiteral("SplitterDragBar"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        // The widgets beneath have already painted into the same buffer, so XOR with white
        // inverts what they drew, as the desktop's drag bar does on the screen.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(rect(),
                         hatched_ ? QBrush(Qt::white, Qt::Dense4Pattern) : QBrush(Qt::white));
    }

private:
    bool hatched_;
};

} // namespace

TSplitter::TSplitter(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setCursor(Qt::SizeVerCursor);
}

TSplitter::~TSplitter()
{
    delete dragBar_;
}

void TSplitter::SetBeveled(bool on)
{
    beveled_ = on;
    update();
}

void TSplitter::SetMinSize(int size)
{
    minSize_ = std::max(0, size);
}

bool TSplitter::ResizesControlBelow() const
{
    return AlignOf(this) == alBottom;
}

QWidget *TSplitter::ResizedControl() const
{
    QWidget *parent = parentWidget();
    const TAlign side = AlignOf(this);
    if (!parent || (side != alTop && side != alBottom))
        return nullptr;
    QWidget *nearest = nullptr;
    for (QObject *object : parent->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child == this || child->isWindow() || child->isHidden() ||
            AlignOf(child) != side)
            continue;
        // A closed control shares its edge with the one before it; the closed one is nearer.
        if (side == alTop && child->y() + child->height() == y() &&
            (!nearest || child->y() > nearest->y()))
            nearest = child;
        if (side == alBottom && child->y() == y() + height() &&
            (!nearest || child->height() < nearest->height()))
            nearest = child;
    }
    return nearest;
}

int TSplitter::MaxControlSize(const QWidget *control) const
{
    const QWidget *parent = parentWidget();
    // The other top and bottom controls (this bar among them) keep their heights, and the
    // area on the far side keeps MinSize.
    int rest = parent->contentsRect().height() - minSize_;
    for (QObject *object : parent->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child == control || child->isWindow() || child->isHidden())
            continue;
        const TAlign align = AlignOf(child);
        if (align == alTop || align == alBottom)
            rest -= child->height();
    }
    return rest;
}

int TSplitter::DistanceTowardsOtherArea(double globalY) const
{
    const int moved = qRound(globalY - drag_->pressY);
    return ResizesControlBelow() ? -moved : moved;
}

QRect TSplitter::SplitterRectFor(const QWidget *control, int controlSize) const
{
    const int top = ResizesControlBelow()
                        ? control->y() + control->height() - controlSize - height()
                        : control->y() + controlSize;
    return QRect(x(), top, width(), height());
}

void TSplitter::ApplySize(QWidget *control, int size)
{
    // The splitter goes to its new place first: a control that opens from height 0 shares
    // its edge with the splitter, and the realignment orders them by position.
    move(SplitterRectFor(control, size).topLeft());
    // A control below keeps its bottom edge; one above keeps its top.
    const int top = ResizesControlBelow() ? control->y() + control->height() - size : control->y();
    control->setGeometry(control->x(), top, control->width(), size);
}

void TSplitter::ShowDragBar(int controlSize)
{
    if (resizeStyle_ != rsPattern && resizeStyle_ != rsLine)
        return;
    QWidget *top = window();
    if (!dragBar_)
        dragBar_ = new TDragBar(top, resizeStyle_ == rsPattern);
    const QRect inParent = SplitterRectFor(drag_->control, controlSize);
    dragBar_->setGeometry(QRect(parentWidget()->mapTo(top, inParent.topLeft()), inParent.size()));
    dragBar_->raise();
    dragBar_->show();
}

void TSplitter::StartDrag(double globalY)
{
    QWidget *control = ResizedControl();
    if (!control)
        return;
    Drag drag;
    drag.control = control;
    drag.pressY = globalY;
    drag.startSize = control->height();
    drag.proposedSize = drag.startSize;
    drag.limits = {minSize_, MaxControlSize(control), autoSnap_};
    drag_ = drag;
    // Esc must reach the splitter wherever the keyboard focus is.
    grabKeyboard();
    ShowDragBar(drag.startSize);
}

void TSplitter::FollowMouse(double globalY)
{
    if (!drag_->control) {
        CancelDrag();
        return;
    }
    const int size =
        ProposedSplitSize(drag_->startSize, DistanceTowardsOtherArea(globalY), drag_->limits);
    if (size == drag_->proposedSize)
        return;
    drag_->proposedSize = size;
    if (resizeStyle_ == rsUpdate)
        ApplySize(drag_->control, size);
    else
        ShowDragBar(size);
}

void TSplitter::FinishDrag()
{
    const Drag drag = *drag_;
    StopDragging();
    if (drag.control && drag.proposedSize != drag.control->height())
        ApplySize(drag.control, drag.proposedSize);
}

void TSplitter::CancelDrag()
{
    const Drag drag = *drag_;
    StopDragging();
    // Only a live resize (rsUpdate) has changed the control by now.
    if (drag.control && drag.startSize != drag.control->height())
        ApplySize(drag.control, drag.startSize);
}

void TSplitter::StopDragging()
{
    drag_.reset();
    releaseKeyboard();
    delete dragBar_;
}

void TSplitter::paintEvent(QPaintEvent *)
{
    if (!beveled_)
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}

void TSplitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !drag_)
        StartDrag(event->globalPosition().y());
    event->accept();
}

void TSplitter::mouseMoveEvent(QMouseEvent *event)
{
    if (drag_)
        FollowMouse(event->globalPosition().y());
    event->accept();
}

void TSplitter::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && drag_)
        FinishDrag();
    event->accept();
}

void TSplitter::keyPressEvent(QKeyEvent *event)
{
    if (drag_ && event->key() == Qt::Key_Escape) {
        CancelDrag();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TSplitter::hideEvent(QHideEvent *event)
{
    if (drag_)
        CancelDrag();
    QWidget::hideEvent(event);
}
