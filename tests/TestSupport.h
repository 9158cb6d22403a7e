#pragma once

#include "TApplication.h"

#include <QString>
#include <vector>

// Message boxes recorded instead of shown, answered with a chosen button.
class MessageRecorder
{
public:
    explicit MessageRecorder(QMessageBox::StandardButton answer = QMessageBox::Ok);
    ~MessageRecorder();

    const std::vector<TMessageBoxRequest> &Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }

private:
    std::vector<TMessageBoxRequest> boxes_;
};

// Runs the event loop until the queue drains, so idle work has happened.
void ProcessUntilIdle();

// The directory the test runs in (a fresh temporary one).
QString TestWorkDir();
