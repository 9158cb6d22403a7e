#pragma once

#include <QWidget>

// Placeholder until the tool band container is built.
class TControlBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool autoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int rowSize READ RowSize WRITE SetRowSize)

public:
    explicit TControlBar(QWidget *parent = nullptr) : QWidget(parent) {}
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on) { autoSize_ = on; }
    int RowSize() const { return rowSize_; }
    void SetRowSize(int size) { rowSize_ = size; }

private:
    bool autoSize_ = false;
    int rowSize_ = 26;
};
