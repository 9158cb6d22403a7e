#include "TForm.h"

#include "TAlign.h"
#include "TComponent.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace {

TWindowState FromQt(Qt::WindowStates states)
{
    if (states & Qt::WindowMinimized)
        return wsMinimized;
    if (states & Qt::WindowMaximized)
        return wsMaximized;
    return wsNormal;
}

Qt::WindowStates ToQt(TWindowState state)
{
    switch (state) {
    case wsMinimized:
        return Qt::WindowMinimized;
    case wsMaximized:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

// The children of a container in tab order: by their "tabOrder" property, else by creation.
std::vector<QWidget *> ChildrenInTabOrder(QWidget *container)
{
    std::vector<QWidget *> children;
    for (QObject *object : container->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow())
            children.push_back(child);
    }
    auto orderOf = [](const QWidget *w) {
        bool ok = false;
        const int order = w->property("tabOrder").toInt(&ok);
        return ok ? order : INT_MAX;
    };
    std::stable_sort(children.begin(), children.end(),
                     [&](const QWidget *a, const QWidget *b) { return orderOf(a) < orderOf(b); });
    return children;
}

void CollectTabStops(QWidget *container, std::vector<QWidget *> &stops)
{
    for (QWidget *child : ChildrenInTabOrder(container)) {
        if (child->focusPolicy() & Qt::TabFocus)
            stops.push_back(child);
        // A control with its own focus proxy chain (an edit's inner parts) is one stop.
        if (!child->property("tabOrderLeaf").toBool() && child->focusProxy() == nullptr)
            CollectTabStops(child, stops);
    }
}

// The window walks its containers depth-first, each container's controls in tab order.
void ApplyTabOrder(QWidget *window)
{
    std::vector<QWidget *> stops;
    CollectTabStops(window, stops);
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}

// Fonts of the design are given by character height in pixels ("fontHeight", negative as in
// the design tools), at 96 pixels per inch.
void ApplyFontHeights(QWidget *window)
{
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets) {
        const QVariant height = widget->property("fontHeight");
        if (!height.isValid())
            continue;
        QFont font = widget->font();
        font.setPixelSize(std::abs(height.toInt()) * widget->logicalDpiY() / 96);
        widget->setFont(font);
    }
}

} // namespace

TForm::TForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    new TAligner(this);
}

TForm::~TForm() = default;

void TForm::Loaded()
{
    ApplyFontHeights(this);
    for (QObject *object : findChildren<QObject *>()) {
        if (auto *component = dynamic_cast<TComponent *>(object))
            component->Loaded();
    }
    ApplyTabOrder(this);
    SetBorderStyle(borderStyle_);
    AlignControls(this);
}

void TForm::SetBorderStyle(TBorderStyle style)
{
    borderStyle_ = style;
    if (style != bsSingle)
        return;
    // A fixed dialog frame: system menu with close box and minimise, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
}

QMargins TForm::FrameMargins() const
{
    QMargins margins;
    if (const QWindow *window = windowHandle())
        margins = window->frameMargins();
    // A window not yet on screen has no frame yet; the main window's is the best guess.
    TForm *mainForm = Application ? Application->MainForm() : nullptr;
    if (margins.isNull() && mainForm && mainForm != this && mainForm->windowHandle())
        margins = mainForm->windowHandle()->frameMargins();
    return margins;
}

int TForm::Left() const
{
    return x();
}

int TForm::Top() const
{
    return y();
}

int TForm::Width() const
{
    const QMargins m = FrameMargins();
    return width() + m.left() + m.right();
}

int TForm::Height() const
{
    const QMargins m = FrameMargins();
    return height() + m.top() + m.bottom();
}

void TForm::SetLeft(int left)
{
    move(left, y());
}

void TForm::SetTop(int top)
{
    move(x(), top);
}

void TForm::SetWidth(int width)
{
    const QMargins m = FrameMargins();
    resize(std::max(0, width - m.left() - m.right()), height());
    wantedOuterSize_ = QSize(width, Height());
}

void TForm::SetHeight(int height)
{
    const QMargins m = FrameMargins();
    resize(width(), std::max(0, height - m.top() - m.bottom()));
    wantedOuterSize_ = QSize(Width(), height);
}

void TForm::CorrectOuterSize()
{
    // The frame becomes known only once the window manager has framed the window; then the
    // outer size asked for earlier is made true.
    if (!wantedOuterSize_.isValid() || WindowState() != wsNormal || !windowHandle())
        return;
    const QMargins m = windowHandle()->frameMargins();
    if (m.isNull())
        return;
    const QSize wanted = wantedOuterSize_;
    wantedOuterSize_ = QSize();
    resize(wanted.width() - m.left() - m.right(), wanted.height() - m.top() - m.bottom());
}

TWindowState TForm::WindowState() const
{
    return FromQt(windowState());
}

void TForm::SetWindowState(TWindowState state)
{
    if (state == WindowState())
        return;
    setWindowState(ToQt(state));
}

void TForm::Show()
{
    if (!isVisible())
        show();
    raise();
}

void TForm::ShowMinimizedAtStart()
{
    deferShowHandler_ = true;
    showMinimized();
}

void TForm::DoShow()
{
    if (position_ == poMainFormCenter)
        PlaceAtFirstShowing();
    if (!OnShow)
        return;
    // An error in the show handler is reported, and the window is shown all the same.
    try {
        OnShow(this);
    } catch (const std::exception &error) {
        Application->ShowException(error);
    }
}

void TForm::PlaceAtFirstShowing()
{
    TForm *mainForm = Application->MainForm();
    if (!mainForm || mainForm == this)
        return;
    int left = mainForm->Left() + (mainForm->Width() - Width()) / 2;
    int top = mainForm->Top() + (mainForm->Height() - Height()) / 2;
    left = std::max(0, left);
    top = std::max(0, top);
    move(left, top);

    QWidget *active = QApplication::activeWindow() ? QApplication::activeWindow() : mainForm;
    QScreen *activeScreen = active->screen();
    QScreen *ownScreen = QGuiApplication::screenAt(QPoint(left + Width() / 2, top + Height() / 2));
    if (activeScreen && ownScreen && ownScreen != activeScreen) {
        const QRect area = activeScreen->geometry();
        move(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2);
    }
    // Later showings keep wherever the user left the window.
    position_ = poDesigned;
}

int TForm::ShowModal()
{
    modalResult_ = 0;
    setWindowModality(Qt::ApplicationModal);
    Show();
    activateWindow();
    QEventLoop loop;
    modalLoop_ = &loop;
    while (modalResult_ == 0) {
        if (Application->Terminated()) {
            modalResult_ = 2;
            break;
        }
        loop.exec();
    }
    modalLoop_ = nullptr;
    hide();
    return modalResult_;
}

void TForm::SetModalResult(int result)
{
    modalResult_ = result;
    if (result != 0 && modalLoop_)
        modalLoop_->quit();
}

void TForm::AddShortCutHandler(TShortCutHandler *handler)
{
    shortCutHandlers_.push_back(handler);
}

void TForm::RemoveShortCutHandler(TShortCutHandler *handler)
{
    shortCutHandlers_.erase(
        std::remove(shortCutHandlers_.begin(), shortCutHandlers_.end(), handler),
        shortCutHandlers_.end());
}

bool TForm::IsShortCut(const QKeyEvent &key)
{
    return std::any_of(shortCutHandlers_.begin(), shortCutHandlers_.end(),
                       [&](TShortCutHandler *handler) { return handler->IsShortCut(key); });
}

void TForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (deferShowHandler_) {
        deferShowHandler_ = false;
        showHandlerPending_ = true;
        return;
    }
    DoShow();
}

void TForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && showHandlerPending_ &&
        WindowState() != wsMinimized) {
        // A minimised start: the show handler runs at the first restore.
        showHandlerPending_ = false;
        DoShow();
    }
}

void TForm::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (modalLoop_) {
        SetModalResult(2);
        return;
    }
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == caNone)
        return;
    if (this == Application->MainForm()) {
        // The main window stays on screen until the teardown destroys it.
        Application->Terminate();
        return;
    }
    if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        hide();
}

bool TForm::event(QEvent *event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
        event->type() == QEvent::WindowActivate)
        CorrectOuterSize();
    return QWidget::event(event);
}
