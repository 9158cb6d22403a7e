#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

MessageRecorder::MessageRecorder(QMessageBox::StandardButton answer)
{
    Application->SetMessagePresenter([this, answer](const TMessageBoxRequest &request) {
        boxes_.push_back(request);
        return answer;
    });
}

MessageRecorder::~MessageRecorder()
{
    Application->SetMessagePresenter([](const TMessageBoxRequest &) { return QMessageBox::Ok; });
}

void ProcessUntilIdle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

QString TestWorkDir()
{
    return QDir::currentPath();
}
