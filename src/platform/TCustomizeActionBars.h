#pragma once

#include "TAction.h"

// Placeholder until the customisation dialog is built.
class TCustomizeActionBars : public TAction
{
    Q_OBJECT
    Q_PROPERTY(bool stayOnTop MEMBER stayOnTop_)

public:
    explicit TCustomizeActionBars(QObject *parent = nullptr) : TAction(parent) {}

private:
    bool stayOnTop_ = false;
};
