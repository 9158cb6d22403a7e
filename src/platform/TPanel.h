#pragma once

#include <QFrame>

enum TBevelCut
{
    bvNone,
    bvLowered,
    bvRaised
};

// A container with an optional bevel whose aligned children are kept arranged.
class TPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int bevelOuter READ BevelOuterValue WRITE SetBevelOuterValue)

public:
    explicit TPanel(QWidget *parent = nullptr);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int BevelOuterValue() const { return bevelOuter_; }
    void SetBevelOuterValue(int value) { SetBevelOuter(static_cast<TBevelCut>(value)); }

    TBevelCut bevelOuter_ = bvRaised;
};

// Draws a one-pixel bevel around a rectangle: light top-left and dark bottom-right when raised.
void DrawBevel(class QPainter &painter, const QRect &rect, TBevelCut cut);
