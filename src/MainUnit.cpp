#include "MainUnit.h"

#include "ProjectInfo.h"

#include <QDir>
#include <QFileInfo>

TTeskMailerForm *TeskMailerForm = nullptr;

namespace {
constexpr int SW_SHOW = 5;
// The shell's buffers hold 255 characters and the terminating zero.
constexpr int ShellTextLimit = 255;
} // namespace

TTeskMailerForm::TTeskMailerForm(QWidget *parent) : TForm(parent)
{
    setupUi(this);
    Loaded();

    OnShow = [this](QObject *sender) { FormShow(sender); };
    OnClose = [this](QObject *sender, TCloseAction &action) { FormClose(sender, action); };
    ExitAction->OnExecute = [this](QObject *sender) { ExitActionExecute(sender); };
    HomePageAction->OnExecute = [this](QObject *sender) { HomePageActionExecute(sender); };
    AboutAction->OnExecute = [this](QObject *sender) { AboutActionExecute(sender); };
    NewmailBoxAction->OnExecute = [this](QObject *sender) { NewmailBoxActionExecute(sender); };
}

void TTeskMailerForm::ExitActionExecute(QObject *)
{
    close();
}

void TTeskMailerForm::HomePageActionExecute(QObject *)
{
    ShellOpen(HomePageAddress, QString(), QString(), SW_SHOW);
}

void TTeskMailerForm::ShellOpen(const QString &Document, const QString &Parameters,
                                const QString &Directory, int ShowCmd)
{
    // Whether a program opened the document is not examined: nothing is reported either way.
    Application->ShellExecute({winId(), Document.left(ShellTextLimit),
                               Parameters.left(ShellTextLimit), Directory.left(ShellTextLimit),
                               ShowCmd});
}

void TTeskMailerForm::AboutActionExecute(QObject *) {}

void TTeskMailerForm::FormShow(QObject *)
{
    Application->OnHint = [this](QObject *sender) { ShowAppHint(sender); };
    ActionManager1->SetFileName(QFileInfo(Application->ExeName()).absolutePath() +
                                QDir::separator() + QStringLiteral("teskmail.dat"));
    LoadOptions();
}

void TTeskMailerForm::LoadOptions() {}

void TTeskMailerForm::SaveOptions() {}

void TTeskMailerForm::FormClose(QObject *, TCloseAction &)
{
    SaveOptions();
}

void TTeskMailerForm::ShowAppHint(QObject *)
{
    StatusBar1->SetPanelText(1, Application->Hint());
}

void TTeskMailerForm::NewmailBoxActionExecute(QObject *) {}
