#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

// Placeholder until the command framework is built.
class TActionMainMenuBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString actionManager MEMBER actionManager_)
    Q_PROPERTY(QString caption MEMBER caption_)
    Q_PROPERTY(QColor highlightColor MEMBER highlightColor_)
    Q_PROPERTY(QColor unusedColor MEMBER unusedColor_)
    Q_PROPERTY(int spacing MEMBER spacing_)
    Q_PROPERTY(int captionOptions MEMBER captionOptions_)
    Q_PROPERTY(QStringList designItems MEMBER designItems_)

public:
    explicit TActionMainMenuBar(QWidget *parent = nullptr) : QWidget(parent) {}

private:
    QString actionManager_, caption_;
    QColor highlightColor_, unusedColor_;
    int spacing_ = 0, captionOptions_ = 0;
    QStringList designItems_;
};
