#pragma once

#include <QPixmap>
#include <QWidget>

// A picture drawn at the top-left corner of its box; with AutoSize the box takes its size.
class TImage : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool autoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit TImage(QWidget *parent = nullptr);

    QString Picture() const { return picture_; }
    // Loads the picture from a resource path; a missing picture raises EResNotFound.
    void SetPicture(const QString &resource);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    const QPixmap &Pixmap() const { return pixmap_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString picture_;
    QPixmap pixmap_;
    bool autoSize_ = false;
};
