#include "TShape.h"

#include <QPainter>

TShape::TShape(QWidget *parent) : QWidget(parent)
{
    // A graphic control: it takes no input and lets clicks reach its container.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::SetPenVisible(bool visible)
{
    penVisible_ = visible;
    update();
}

void TShape::SetBrushColor(const QColor &color)
{
    brushColor_ = color;
    update();
}

void TShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), brushColor_);
    if (penVisible_) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
