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

// Runs the event loop for a short while, letting it block so that idle work happens.
void ProcessUntilIdle(int milliseconds = 30);

// A test main whose application object is the platform's, with the program's resources.
#define TESK_TEST_MAIN(TestClass)                                                                  \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        Q_INIT_RESOURCE(resources);                                                                \
        TApplication application(argc, argv);                                                      \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// The directory the test runs in (a fresh temporary one).
QString TestWorkDir();
