#pragma once

#include "TComponent.h"

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <optional>
#include <vector>

class QPainter;

// The frame a band puts around its control: the grab handle on the left, a thin edge
// elsewhere; and the container's own frame above and below its rows.
constexpr int BandGrabWidth = 11;
constexpr int BandEdge = 2;
constexpr int ControlBarFrame = 2;

// Where a tool band container puts its controls, and the height that fits its rows.
struct TBandLayout
{
    std::vector<QPoint> positions; // the controls' top-left corners, in the order given
    int height = 0;                // the rows and the container's frame above and below them
};

// The band around a control at the given geometry.
QRect BandAround(const QRect &control);

// Lays the bands of the given controls out in rows of rowSize: each band goes into the row
// under its middle (empty rows close up, the first row is at the top), and within a row the
// bands are packed from the left in the order of their left edges, none overlapping another,
// none further right than the container's width lets it.
TBandLayout LayOutBands(const std::vector<QRect> &controls, int containerWidth, int rowSize);

// A tool band container: each visible child control sits in a band with a grab handle by
// which the user drags it within its row or to another row. Moving, resizing, showing or
// hiding a child lays the bands out again; with AutoSize the container's height follows its
// rows (only its frame when no band is visible).
class TControlBar : public QWidget, public TComponent
{
    Q_OBJECT
    Q_PROPERTY(bool autoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int rowSize READ RowSize WRITE SetRowSize)

public:
    explicit TControlBar(QWidget *parent = nullptr);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    int RowSize() const { return rowSize_; }
    void SetRowSize(int size);

    void Loaded() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void childEvent(QChildEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    struct BandDrag
    {
        QPointer<QWidget> control;
        QPoint pressPos;
        QPoint startPos;
    };

    std::vector<QWidget *> BandControls() const;
    QWidget *ControlAtHandle(const QPoint &pos) const;
    void ArrangeBands();
    void ApplyBandLayout();
    void DrawBand(QPainter &painter, const QRect &band) const;
    void DrawFrame(QPainter &painter) const;

    bool autoSize_ = false;
    int rowSize_ = 26;
    bool arranging_ = false;
    bool arrangeAgain_ = false;
    std::optional<BandDrag> drag_;
};
