#include "TImage.h"

#include "Exception.h"

#include <QPainter>

TImage::TImage(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TImage::SetPicture(const QString &resource)
{
    QPixmap pixmap(resource);
    if (pixmap.isNull())
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(resource));
    picture_ = resource;
    pixmap_ = pixmap;
    SetAutoSize(autoSize_);
    update();
}

void TImage::SetAutoSize(bool on)
{
    autoSize_ = on;
    if (on && !pixmap_.isNull())
        resize(pixmap_.size());
}

void TImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap_);
}
