#pragma once

#include "Exception.h"

#include <QApplication>
#include <QMessageBox>
#include <functional>
#include <new>
#include <vector>

class TForm;
class QKeyEvent;

// A handler of a component event, given the object that raised it.
using TNotifyEvent = std::function<void(QObject *Sender)>;

// A message box as the program asks for it; the presenter shows it and returns the button pressed.
struct TMessageBoxRequest
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};
using TMessagePresenter = std::function<QMessageBox::StandardButton(const TMessageBoxRequest &)>;

// What the shell's open call is given: the document's default action, as the shell does it.
struct TShellRequest
{
    WId owner = 0;
    QString document;
    QString parameters;
    QString directory;
    int showCommand = 0;
};
using TShellOpener = std::function<bool(const TShellRequest &)>;

// Widgets whose parts carry different hints (the bars' buttons) say which hint lies at a point.
class THintSource
{
public:
    virtual ~THintSource() = default;
    virtual QString HintAt(const QPoint &localPos) const = 0;
};

// The application object: title, the program's windows, the message loop with its idle work,
// the hint text, the default error handler and the ordered teardown.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    // Show commands of the starting process.
    static constexpr int SW_SHOWMAXIMIZED = 3;
    static constexpr int SW_SHOWMINNOACTIVE = 7;
    static constexpr int SW_SHOWDEFAULT = 10;

    TApplication(int &argc, char **argv);
    ~TApplication() override;

    void Initialize();
    QString Title() const { return title_; }
    void SetTitle(const QString &title);

    // Creates a window; the reference is filled before its constructor runs and cleared when
    // the constructor fails. The first window created becomes the main window.
    template <class T> void CreateForm(T *&reference);
    void Run();
    void Terminate();
    // The end of the user's session: the loop ends without the close path.
    void EndSession();
    bool Terminated() const { return terminated_; }
    bool Running() const { return running_; }

    TForm *MainForm() const { return mainForm_; }
    const std::vector<TForm *> &Forms() const { return forms_; }
    QString ExeName() const;

    QString Hint() const { return hint_; }
    void SetHint(const QString &hint);
    TNotifyEvent OnHint;

    // The show command the process was started with; there is none outside Windows.
    int StartupShowCommand() const { return startupShowCommand_; }
    void SetStartupShowCommand(int command) { startupShowCommand_ = command; }

    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on);

    // The default error handler, for errors that escape a handler during the loop.
    void ShowException(const std::exception &error);
    // The start-up failure box ("Application Error") for an error before the loop.
    void ShowStartupException(const std::exception &error);
    QMessageBox::StandardButton MessageBox(const TMessageBoxRequest &request);
    void SetMessagePresenter(TMessagePresenter presenter) { presenter_ = std::move(presenter); }

    // Opens a document or address with its default program; the opener can be replaced.
    bool ShellExecute(const TShellRequest &request) { return opener_(request); }
    void SetShellOpener(TShellOpener opener) { opener_ = std::move(opener); }

    // Hides pop-ups, switches tooltips off, then destroys the windows from last to first.
    void Teardown();

    bool notify(QObject *receiver, QEvent *event) override;

signals:
    // The queue has drained: the moment for the commands' state updates.
    void Idle();
    // Tooltips were switched off at the start of the teardown; all windows still exist.
    void TooltipsRemoved();
    // The terminated flag was set.
    void Terminating();

private:
    void DoIdle();
    void UpdateHintFromPointer();
    void SetTerminated();
    void InstallEndOfSessionHandlers();
    void RegisterForm(TForm *form);
    void ApplyStartupShowCommand();
    bool OfferShortCut(QObject *receiver, QEvent *event);

    QString title_;
    QString hint_;
    TForm *mainForm_ = nullptr;
    std::vector<TForm *> forms_;
    TMessagePresenter presenter_;
    TShellOpener opener_;
    int startupShowCommand_ = SW_SHOWDEFAULT;
    bool terminated_ = false;
    bool running_ = false;
    bool showHint_ = true;
    bool inIdle_ = false;
    bool tornDown_ = false;
};

// The one application object of the process.
extern TApplication *Application;

// The error's text with a full stop added when its last character sorts after ".".
QString MessageWithFullStop(const QString &message);
// The long part of a hint: the text after the first "|", or the whole hint.
QString GetLongHint(const QString &hint);

template <class T> void TApplication::CreateForm(T *&reference)
{
    // Code that the window's construction runs may already use the reference.
    void *memory = ::operator new(sizeof(T));
    reference = static_cast<T *>(memory);
    try {
        new (memory) T();
    } catch (...) {
        reference = nullptr;
        ::operator delete(memory);
        throw;
    }
    RegisterForm(reference);
}
