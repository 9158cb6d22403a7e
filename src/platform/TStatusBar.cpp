#include "TStatusBar.h"

#include "TPanel.h"

#include <QApplication>
#include <QPainter>
#include <QSizeGrip>

TStatusBar::TStatusBar(QWidget *parent) : QWidget(parent), grip_(new QSizeGrip(this))
{
    // The desktop's status-bar font, not the window's.
    setFont(QApplication::font("QStatusBar"));
    setAutoFillBackground(true);
}

QStringList TStatusBar::PanelWidthTexts() const
{
    QStringList widths;
    for (const Panel &panel : panels_)
        widths << QString::number(panel.width);
    return widths;
}

void TStatusBar::SetPanelWidthTexts(const QStringList &widths)
{
    panels_.clear();
    for (const QString &width : widths)
        panels_.push_back({width.toInt(), QString()});
    update();
}

QString TStatusBar::PanelText(int index) const
{
    return panels_.at(static_cast<std::size_t>(index)).text;
}

void TStatusBar::SetPanelText(int index, const QString &text)
{
    Panel &panel = panels_.at(static_cast<std::size_t>(index));
    if (panel.text == text)
        return;
    panel.text = text;
    update(PanelRect(index));
}

QRect TStatusBar::PanelRect(int index) const
{
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += panels_[static_cast<std::size_t>(i)].width;
    const bool last = index == PanelCount() - 1;
    const int width =
        last ? std::max(0, this->width() - left) : panels_[static_cast<std::size_t>(index)].width;
    return QRect(left, 0, width, height());
}

void TStatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ButtonText));
    for (int i = 0; i < PanelCount(); ++i) {
        const QRect box = PanelRect(i).adjusted(0, 2, -2, 0);
        DrawBevel(painter, box, bvLowered);
        painter.setPen(palette().color(QPalette::ButtonText));
        const QRect textBox = box.adjusted(3, 1, -3, -1);
        const QString text = fontMetrics().elidedText(panels_[static_cast<std::size_t>(i)].text,
                                                      Qt::ElideRight, textBox.width());
        painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void TStatusBar::resizeEvent(QResizeEvent *)
{
    const QSize grip = grip_->sizeHint().boundedTo(QSize(height(), height()));
    grip_->setGeometry(width() - grip.width(), height() - grip.height(), grip.width(),
                       grip.height());
}
