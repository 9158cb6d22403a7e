#include "TPanel.h"

#include "TAlign.h"

#include <QPainter>

void DrawBevel(QPainter &painter, const QRect &rect, TBevelCut cut)
{
    if (cut == bvNone)
        return;
    const QPalette palette;
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    const QColor topLeft = cut == bvRaised ? light : dark;
    const QColor bottomRight = cut == bvRaised ? dark : light;
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

TPanel::TPanel(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    SetBevelOuter(bevelOuter_);
    new TAligner(this);
}

void TPanel::SetBevelOuter(TBevelCut cut)
{
    bevelOuter_ = cut;
    const int width = cut == bvNone ? 0 : 1;
    setContentsMargins(width, width, width, width);
    update();
}

void TPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DrawBevel(painter, rect(), bevelOuter_);
}
