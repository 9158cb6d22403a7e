#include "TAlign.h"

#include <QChildEvent>
#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

TAlign AlignFromName(const QString &name)
{
    static const std::pair<const char *, TAlign> names[] = {{"alTop", alTop},
                                                            {"alBottom", alBottom},
                                                            {"alLeft", alLeft},
                                                            {"alRight", alRight},
                                                            {"alClient", alClient}};
    for (const auto &[text, align] : names) {
        if (name == QLatin1String(text))
            return align;
    }
    return alNone;
}

TAlign AlignOf(const QWidget *control)
{
    return AlignFromName(control->property("align").toString());
}

namespace {

std::vector<QWidget *> AlignedChildren(QWidget *container, TAlign align)
{
    std::vector<QWidget *> result;
    for (QObject *object : container->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow() && !child->isHidden() && AlignOf(child) == align)
            result.push_back(child);
    }
    return result;
}

template <class Key> void SortStable(std::vector<QWidget *> &controls, Key key)
{
    std::stable_sort(controls.begin(), controls.end(),
                     [&](const QWidget *a, const QWidget *b) { return key(a) < key(b); });
}

} // namespace

void AlignControls(QWidget *container)
{
    QRect rest = container->contentsRect();

    auto tops = AlignedChildren(container, alTop);
    // A closed (zero-height) control shares its top with the next one; it stays before it.
    SortStable(tops, [](const QWidget *w) { return std::make_pair(w->y(), w->y() + w->height()); });
    for (QWidget *w : tops) {
        w->setGeometry(rest.left(), rest.top(), rest.width(), w->height());
        rest.setTop(rest.top() + w->height());
    }

    auto bottoms = AlignedChildren(container, alBottom);
    SortStable(bottoms,
               [](const QWidget *w) { return std::make_pair(-(w->y() + w->height()), -w->y()); });
    for (QWidget *w : bottoms) {
        w->setGeometry(rest.left(), rest.bottom() + 1 - w->height(), rest.width(), w->height());
        rest.setBottom(rest.bottom() - w->height());
    }

    auto lefts = AlignedChildren(container, alLeft);
    SortStable(lefts, [](const QWidget *w) { return w->x(); });
    for (QWidget *w : lefts) {
        w->setGeometry(rest.left(), rest.top(), w->width(), std::max(0, rest.height()));
        rest.setLeft(rest.left() + w->width());
    }

    auto rights = AlignedChildren(container, alRight);
    SortStable(rights, [](const QWidget *w) { return -(w->x() + w->width()); });
    for (QWidget *w : rights) {
        w->setGeometry(rest.right() + 1 - w->width(), rest.top(), w->width(),
                       std::max(0, rest.height()));
        rest.setRight(rest.right() - w->width());
    }

    for (QWidget *w : AlignedChildren(container, alClient))
        w->setGeometry(rest.left(), rest.top(), std::max(0, rest.width()),
                       std::max(0, rest.height()));
}

TAligner::TAligner(QWidget *container) : QObject(container), container_(container)
{
    container->installEventFilter(this);
    for (QObject *child : container->children())
        Watch(child);
}

void TAligner::Watch(QObject *child)
{
    if (child->isWidgetType() && child != this)
        child->installEventFilter(this);
}

void TAligner::Realign()
{
    if (aligning_)
        return;
    aligning_ = true;
    AlignControls(container_);
    aligning_ = false;
}

bool TAligner::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == container_) {
        if (event->type() == QEvent::ChildAdded)
            Watch(static_cast<QChildEvent *>(event)->child());
        else if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            Realign();
        return false;
    }
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (AlignOf(static_cast<QWidget *>(watched)) != alNone)
            Realign();
        break;
    default:
        break;
    }
    return false;
}
