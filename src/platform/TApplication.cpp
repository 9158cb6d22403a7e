#include "TApplication.h"

#include "TForm.h"

#include <QAbstractEventDispatcher>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSocketNotifier>
#include <QToolTip>
#include <QUrl>
#include <csignal>
#include <cxxabi.h>
#include <memory>
#include <sys/socket.h>
#include <typeinfo>
#include <unistd.h>

TApplication *Application = nullptr;

namespace {

int signalPipe[2] = {-1, -1};

void OnTerminationSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe work here; the loop picks the byte up.
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

QString ClassNameOf(const std::exception &error)
{
    if (const auto *platformError = dynamic_cast<const Exception *>(&error))
        return QString::fromLatin1(platformError->ClassName());
    int status = 0;
    std::unique_ptr<char, void (*)(void *)> name(
        abi::__cxa_demangle(typeid(error).name(), nullptr, nullptr, &status), std::free);
    return QString::fromLatin1(status == 0 ? name.get() : typeid(error).name());
}

QString MessageOf(const std::exception &error)
{
    if (const auto *platformError = dynamic_cast<const Exception *>(&error))
        return platformError->Message();
    return QString::fromUtf8(error.what());
}

QMessageBox::StandardButton ShowMessageBox(const TMessageBoxRequest &request)
{
    QMessageBox box(request.icon, request.caption, request.text, request.buttons);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool OpenWithDesktop(const TShellRequest &request)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(request.document, request.directory));
}

} // namespace

QString MessageWithFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString GetLongHint(const QString &hint)
{
    const auto bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv), title_(QFileInfo(applicationFilePath()).completeBaseName()),
      presenter_(ShowMessageBox), opener_(OpenWithDesktop)
{
    Application = this;
    setQuitOnLastWindowClosed(false);
    setWindowIcon(QIcon(QStringLiteral(":/MAINICON")));
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TApplication::DoIdle);
    InstallEndOfSessionHandlers();
}

TApplication::~TApplication()
{
    Teardown();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize()
{
    // No initialisation hook is registered by this program.
}

void TApplication::SetTitle(const QString &title)
{
    title_ = title;
    // The window-system name of the program (WM_CLASS), which taskbars show.
    setApplicationName(title);
}

void TApplication::RegisterForm(TForm *form)
{
    forms_.push_back(form);
    if (!mainForm_) {
        mainForm_ = form;
        form->winId();
    }
}

void TApplication::Run()
{
    running_ = true;
    if (mainForm_) {
        ApplyStartupShowCommand();
        if (mainForm_->WindowState() == wsMinimized)
            mainForm_->ShowMinimizedAtStart();
        else
            mainForm_->Show();
        while (!terminated_)
            exec();
    }
    running_ = false;
}

void TApplication::ApplyStartupShowCommand()
{
    if (startupShowCommand_ == SW_SHOWMAXIMIZED)
        mainForm_->SetWindowState(wsMaximized);
    else if (startupShowCommand_ == SW_SHOWMINNOACTIVE)
        mainForm_->SetWindowState(wsMinimized);
}

void TApplication::Terminate()
{
    // Like posting the quit message: the loop ends when it reaches it.
    QMetaObject::invokeMethod(this, &TApplication::SetTerminated, Qt::QueuedConnection);
}

void TApplication::EndSession()
{
    SetTerminated();
}

void TApplication::SetTerminated()
{
    if (terminated_)
        return;
    terminated_ = true;
    emit Terminating();
    exit(0);
}

void TApplication::InstallEndOfSessionHandlers()
{
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        EndSession();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    // The session manager ends the session: no close path, the teardown still runs.
    connect(this, &QGuiApplication::commitDataRequest, this, &TApplication::EndSession);
}

QString TApplication::ExeName() const
{
    return applicationFilePath();
}

void TApplication::SetHint(const QString &hint)
{
    if (hint == hint_)
        return;
    hint_ = hint;
    if (OnHint)
        OnHint(this);
}

void TApplication::SetShowHint(bool on)
{
    if (on == showHint_)
        return;
    showHint_ = on;
    if (!on) {
        QToolTip::hideText();
        emit TooltipsRemoved();
    }
}

void TApplication::DoIdle()
{
    if (inIdle_)
        return;
    inIdle_ = true;
    try {
        UpdateHintFromPointer();
        emit Idle();
    } catch (const std::exception &error) {
        ShowException(error);
    }
    inIdle_ = false;
}

void TApplication::UpdateHintFromPointer()
{
    // While a drop-down is open, its highlighted entry decides the hint.
    if (activePopupWidget())
        return;
    const QPoint pointer = QCursor::pos();
    QString hint;
    for (QWidget *control = widgetAt(pointer); control; control = control->parentWidget()) {
        if (const auto *source = dynamic_cast<const THintSource *>(control))
            hint = source->HintAt(control->mapFromGlobal(pointer));
        else
            hint = control->statusTip();
        if (!hint.isEmpty() || control->isWindow())
            break;
    }
    SetHint(GetLongHint(hint));
}

void TApplication::ShowException(const std::exception &error)
{
    MessageBox(
        {title_, MessageWithFullStop(MessageOf(error)), QMessageBox::Critical, QMessageBox::Ok});
}

void TApplication::ShowStartupException(const std::exception &error)
{
    const void *address = nullptr;
    if (const auto *platformError = dynamic_cast<const Exception *>(&error))
        address = platformError->Address();
    const QString text = QStringLiteral("Exception %1 in module %2 at %3.\n%4")
                             .arg(ClassNameOf(error), QFileInfo(ExeName()).fileName(),
                                  QStringLiteral("%1")
                                      .arg(reinterpret_cast<quintptr>(address),
                                           int(sizeof(void *) * 2), 16, QLatin1Char('0'))
                                      .toUpper(),
                                  MessageWithFullStop(MessageOf(error)));
    MessageBox({QStringLiteral("Application Error"), text, QMessageBox::Critical, QMessageBox::Ok});
}

QMessageBox::StandardButton TApplication::MessageBox(const TMessageBoxRequest &request)
{
    return presenter_(request);
}

void TApplication::Teardown()
{
    if (tornDown_)
        return;
    tornDown_ = true;
    while (QWidget *popup = activePopupWidget())
        popup->close();
    SetShowHint(false);
    while (!forms_.empty()) {
        TForm *form = forms_.back();
        forms_.pop_back();
        delete form;
    }
    mainForm_ = nullptr;
}

bool TApplication::OfferShortCut(QObject *receiver, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType())
        return false;
    auto *form = qobject_cast<TForm *>(static_cast<QWidget *>(receiver)->window());
    return form && form->IsShortCut(*static_cast<QKeyEvent *>(event));
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    // Exceptions may not cross Qt's event delivery: every one that escapes a handler ends here.
    try {
        if (OfferShortCut(receiver, event))
            return true;
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        event->ignore();
        ShowException(error);
        return false;
    }
}
