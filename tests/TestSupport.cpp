#include "TestSupport.h"

#include <QDir>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

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

void ProcessUntilIdle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

QString TestWorkDir()
{
    return QDir::currentPath();
}
