#pragma once

#include "TApplication.h"

#include <QObject>

// Placeholder until the command framework is built.
class TAction : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString category MEMBER category_)
    Q_PROPERTY(QString caption MEMBER caption_)
    Q_PROPERTY(QString hint MEMBER hint_)
    Q_PROPERTY(int imageIndex MEMBER imageIndex_)
    Q_PROPERTY(int shortCut MEMBER shortCut_)

public:
    explicit TAction(QObject *parent = nullptr) : QObject(parent) {}
    TNotifyEvent OnExecute;

private:
    QString category_, caption_, hint_;
    int imageIndex_ = -1;
    int shortCut_ = 0;
};
