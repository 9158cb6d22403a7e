#pragma once

#include <QWidget>

// Placeholder until the splitter is built: a bar of the splitter's size.
class TSplitter : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool beveled READ Beveled WRITE SetBeveled)

public:
    explicit TSplitter(QWidget *parent = nullptr) : QWidget(parent) {}
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool on) { beveled_ = on; }

private:
    bool beveled_ = false;
};
