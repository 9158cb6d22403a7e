#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>

enum TResizeStyle
{
    rsNone,   // nothing is drawn during the drag
    rsLine,   // an inverted bar where the splitter will go
    rsUpdate, // the control is resized while the mouse moves
    rsPattern // a hatched inverted bar where the splitter will go
};

// What bounds a splitter drag: the least size of the resized control, the most it may take
// (so that the area on the other side keeps its own least size), and whether it snaps shut.
struct TSplitLimits
{
    int minSize = 30;
    int maxSize = 0;
    bool autoSnap = true;
};

// The size a drag proposes for the resized control: its size at the press plus the distance
// the mouse moved towards the other area, at most maxSize. At or below minSize it snaps to 0
// with autoSnap; without it, it stays at minSize (unless maxSize is smaller still).
int ProposedSplitSize(int startSize, int distance, const TSplitLimits &limits);

// A horizontal bar between two aligned areas of its parent. Dragging it with the left button
// resizes the aligned control on its side (above an alTop splitter, below an alBottom one);
// the parent's realignment then moves the rest. Esc during the drag cancels it.
class TSplitter : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool beveled READ Beveled WRITE SetBeveled)
    Q_PROPERTY(int minSize READ MinSize WRITE SetMinSize)
    Q_PROPERTY(bool autoSnap READ AutoSnap WRITE SetAutoSnap)
    Q_PROPERTY(int resizeStyle READ ResizeStyleValue WRITE SetResizeStyleValue)

public:
    explicit TSplitter(QWidget *parent = nullptr);
    ~TSplitter() override;

    bool Beveled() const { return beveled_; }
    void SetBeveled(bool on);
    int MinSize() const { return minSize_; }
    void SetMinSize(int size);
    bool AutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool on) { autoSnap_ = on; }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle style) { resizeStyle_ = style; }

    // The aligned sibling that a drag resizes: the one whose edge touches the splitter on its
    // aligned side (the nearest one when a closed control shares that edge), or nullptr.
    QWidget *ResizedControl() const;
    bool Dragging() const { return drag_.has_value(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct Drag
    {
        QPointer<QWidget> control;
        double pressY = 0;
        int startSize = 0;
        int proposedSize = 0;
        TSplitLimits limits;
    };

    int ResizeStyleValue() const { return resizeStyle_; }
    void SetResizeStyleValue(int value) { resizeStyle_ = static_cast<TResizeStyle>(value); }

    bool ResizesControlBelow() const;
    int MaxControlSize(const QWidget *control) const;
    int DistanceTowardsOtherArea(double globalY) const;
    void StartDrag(double globalY);
    void FollowMouse(double globalY);
    void FinishDrag();
    void CancelDrag();
    void StopDragging();
    void ApplySize(QWidget *control, int size);
    void ShowDragBar(int controlSize);
    QRect SplitterRectFor(const QWidget *control, int controlSize) const;

    bool beveled_ = false;
    int minSize_ = 30;
    bool autoSnap_ = true;
    TResizeStyle resizeStyle_ = rsPattern;
    std::optional<Drag> drag_;
    // The bar drawn over the window during the drag; a child of the window, alive only then.
    QPointer<QWidget> dragBar_;
};
