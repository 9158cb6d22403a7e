#pragma once

#include <QColor>
#include <QWidget>

// A filled rectangle with an optional one-pixel outline, painted beneath sibling controls.
class TShape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool penVisible READ PenVisible WRITE SetPenVisible)
    Q_PROPERTY(QColor brushColor READ BrushColor WRITE SetBrushColor)

public:
    explicit TShape(QWidget *parent = nullptr);

    bool PenVisible() const { return penVisible_; }
    void SetPenVisible(bool visible);
    QColor BrushColor() const { return brushColor_; }
    void SetBrushColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool penVisible_ = true;
    QColor brushColor_ = Qt::white;
};
