#include "MainUnit.h"

#include "ProjectInfo.h"
#include "ScreenPlacement.h"
#include "TRegIniFile.h"

#include <QDir>
#include <QFileInfo>

TTeskMailerForm *TeskMailerForm = nullptr;

namespace {
constexpr int SW_SHOW = 5;
const QString OptionSection = QStringLiteral("Option");
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

void TTeskMailerForm::LoadOptions()
{
    TRegIniFile store(QStringLiteral("Software"));
    store.OpenKey(QStringLiteral("Ombrelix"), true);
    store.OpenKey(QStringLiteral("Mailer"), true);
    const QList<QRect> screens = AvailableScreens();
    const int width = store.ReadInteger(OptionSection, QStringLiteral("Width"), 600);
    SetWidth(ClampToDesktop(QSize(width, 0), screens).width());
    const int height = store.ReadInteger(OptionSection, QStringLiteral("Heigth"), 400);
    SetHeight(ClampToDesktop(QSize(0, height), screens).height());
    SetLeft(store.ReadInteger(OptionSection, QStringLiteral("Left"), 10));
    SetTop(store.ReadInteger(OptionSection, QStringLiteral("Top"), 10));
    // A window stored off every screen (a monitor since removed) would be out of reach.
    const QRect bounds(Left(), Top(), Width(), Height());
    move(BringOntoScreens(bounds, screens, screens.value(0)).topLeft());
    FileToolBar->move(store.ReadInteger(OptionSection, QStringLiteral("FileToolBarLeft"), 11),
                      FileToolBar->y());
    FileToolBar->move(FileToolBar->x(),
                      store.ReadInteger(OptionSection, QStringLiteral("FileToolBarTop"), 2));
    FileToolBar->setVisible(
        store.ReadBool(OptionSection, QStringLiteral("FileToolBarVisible"), true));

    const int lowByte =
        store.ReadInteger(OptionSection, QStringLiteral("WinState"), wsMaximized) & 0xFF;
    // Only the three states exist; any other stored byte opens the window normal.
    const auto stored = lowByte <= wsMaximized ? static_cast<TWindowState>(lowByte) : wsNormal;
    // Stepping down first makes the stored state carried out even when the window has it.
    if (stored == WindowState() && stored != wsNormal)
        SetWindowState(static_cast<TWindowState>(stored - 1));
    SetWindowState(stored);
}

void TTeskMailerForm::SaveOptions()
{
    TRegIniFile store(QStringLiteral("Software"));
    store.OpenKey(QStringLiteral("Ombrelix"), true);
    store.OpenKey(QStringLiteral("Mailer"), true);
    if (WindowState() == wsNormal) {
        store.WriteInteger(OptionSection, QStringLiteral("Width"), Width());
        store.WriteInteger(OptionSection, QStringLiteral("Heigth"), Height());
        store.WriteInteger(OptionSection, QStringLiteral("Left"), Left());
        store.WriteInteger(OptionSection, QStringLiteral("Top"), Top());
    }
    store.WriteInteger(OptionSection, QStringLiteral("WinState"), WindowState());
    store.WriteInteger(OptionSection, QStringLiteral("FileToolBarLeft"), FileToolBar->x());
    store.WriteInteger(OptionSection, QStringLiteral("FileToolBarTop"), FileToolBar->y());
    store.WriteBool(OptionSection, QStringLiteral("FileToolBarVisible"),
                    !FileToolBar->isHidden());
}

void TTeskMailerForm::FormClose(QObject *, TCloseAction &)
{
    SaveOptions();
}

void TTeskMailerForm::ShowAppHint(QObject *)
{
    StatusBar1->SetPanelText(1, Application->Hint());
}

void TTeskMailerForm::NewmailBoxActionExecute(QObject *) {}
