#pragma once

#include <QObject>
#include <QString>

class QWidget;

enum TAlign
{
    alNone,
    alTop,
    alBottom,
    alLeft,
    alRight,
    alClient
};

// A control's alignment, from its "align" property ("alTop", ...) in the design description.
TAlign AlignOf(const QWidget *control);
TAlign AlignFromName(const QString &name);

// Arranges the aligned children of a container: top ones stacked from the top edge in the
// order of their tops, bottom ones from the bottom edge, then left and right ones, and the
// client one fills the rest. Hidden children take no room.
void AlignControls(QWidget *container);

// Keeps a container's aligned children arranged: on its resize and whenever an aligned child
// is shown, hidden or resized.
class TAligner : public QObject
{
    Q_OBJECT

public:
    explicit TAligner(QWidget *container);
    void Realign();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Watch(QObject *child);

    QWidget *container_;
    bool aligning_ = false;
};
