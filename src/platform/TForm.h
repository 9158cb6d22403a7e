#pragma once

#include "TApplication.h"

#include <QPointer>
#include <QWidget>
#include <vector>

class QEventLoop;

enum TCloseAction
{
    caNone,
    caHide,
    caFree,
    caMinimize
};
enum TWindowState
{
    wsNormal = 0,
    wsMinimized = 1,
    wsMaximized = 2
};
enum TPosition
{
    poDesigned,
    poMainFormCenter
};
enum TBorderStyle
{
    bsSizeable,
    bsSingle
};

using TCloseEvent = std::function<void(QObject *Sender, TCloseAction &Action)>;

// Something that can claim a key press offered to its window (the command lists).
class TShortCutHandler
{
public:
    virtual ~TShortCutHandler() = default;
    virtual bool IsShortCut(const QKeyEvent &key) = 0;
};

// A top-level window built from its design description. Sizes and positions are outer ones
// (frame included); the design's controls are arranged by their "align" property.
class TForm : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int position READ PositionValue WRITE SetPositionValue)
    Q_PROPERTY(int borderStyle READ BorderStyleValue WRITE SetBorderStyleValue)

public:
    explicit TForm(QWidget *parent = nullptr);
    ~TForm() override;

    TNotifyEvent OnShow;
    TCloseEvent OnClose;

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);

    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);

    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);

    // Shows the window (running OnShow first when it passes from hidden to visible).
    void Show();
    // Shows the window as a minimised start: only the taskbar button; OnShow waits for the restore.
    void ShowMinimizedAtStart();
    // Shows the window modally and returns its modal result once it closes; the window is
    // hidden, never destroyed.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result);
    bool IsModal() const { return modalLoop_ != nullptr; }

    void AddShortCutHandler(TShortCutHandler *handler);
    void RemoveShortCutHandler(TShortCutHandler *handler);
    // Offers a key press to the window's command lists; true when a command ran.
    bool IsShortCut(const QKeyEvent &key);

protected:
    // Finishes the construction once the design description has been read: tab order,
    // alignment and the design's border style.
    void Loaded();

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    int PositionValue() const { return position_; }
    void SetPositionValue(int value) { position_ = static_cast<TPosition>(value); }
    int BorderStyleValue() const { return borderStyle_; }
    void SetBorderStyleValue(int value) { SetBorderStyle(static_cast<TBorderStyle>(value)); }
    void DoShow();
    void PlaceAtFirstShowing();
    QMargins FrameMargins() const;
    void CorrectOuterSize();

    TPosition position_ = poDesigned;
    TBorderStyle borderStyle_ = bsSizeable;
    int modalResult_ = 0;
    QEventLoop *modalLoop_ = nullptr;
    bool deferShowHandler_ = false;
    bool showHandlerPending_ = false;
    // Outer size asked for before the window manager's frame was known.
    QSize wantedOuterSize_;
    std::vector<TShortCutHandler *> shortCutHandlers_;
};
