// The main window's stored settings: what a run reads, what a close writes, and how damaged or
// unwritable stores are met.
#include "MainUnit.h"
#include "TRegIniFile.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <memory>

namespace {

QString SettingsDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Ombrelix");
}

QString SettingsFile()
{
    return SettingsDir() + QStringLiteral("/Mailer.reg");
}

// Writes the store's file by hand, one `"Name"=data` line per entry of the section "Option".
void PrepareStore(const QStringList &lines)
{
    QDir().mkpath(SettingsDir());
    QFile file(SettingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("Registry Settings 1\n\n[Option]\n");
    for (const QString &line : lines)
        file.write(line.toUtf8() + '\n');
}

QString Stored(const QString &name)
{
    TRegIniFile store(QStringLiteral("Software"));
    store.OpenKey(QStringLiteral("Ombrelix"), true);
    store.OpenKey(QStringLiteral("Mailer"), true);
    return store.ReadString(QStringLiteral("Option"), name, QStringLiteral("<absent>"));
}

// Records every window-state change the window goes through.
class StateRecorder : public QObject
{
public:
    QList<Qt::WindowStates> states;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange)
            states << static_cast<QWidget *>(watched)->windowState();
        return false;
    }
};

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstRunOpensMaximisedWithDefaults();
    void closeStores_data();
    void closeStores();
    void storedTextsFollowTheIntegerRule();
    void normalStateTakesNoOtherStateOnTheWay();
    void stateIsTheLowByte();
    void valueOfAnotherTypeStopsLoading();
    void unwritableStoreKeepsWindowOpenAndRetries();
    void lastClosedCopyWins();
    void windowOffEveryScreenIsBroughtBack();

private:
    TTeskMailerForm *ShowNewWindow();
    std::unique_ptr<TTeskMailerForm> form_;
    std::unique_ptr<MessageRecorder> boxes_;
};

void TestOptions::init()
{
    QDir(SettingsDir()).removeRecursively();
    boxes_ = std::make_unique<MessageRecorder>();
}

void TestOptions::cleanup()
{
    form_.reset();
    boxes_.reset();
}

TTeskMailerForm *TestOptions::ShowNewWindow()
{
    form_ = std::make_unique<TTeskMailerForm>();
    form_->Show();
    return form_.get();
}

void TestOptions::firstRunOpensMaximisedWithDefaults()
{
    TTeskMailerForm *form = ShowNewWindow();
    QCOMPARE(form->WindowState(), wsMaximized);
    QCOMPARE(form->FileToolBar->pos(), QPoint(11, 2));
    QVERIFY(form->FileToolBar->isVisible());
    // The key path exists after the first load; the section only after the first write.
    QVERIFY(QDir(SettingsDir()).exists());
    QCOMPARE(Stored("WinState"), QString("<absent>"));
    form->SetWindowState(wsNormal);
    QTRY_COMPARE(form->WindowState(), wsNormal);
    QCOMPARE(QRect(form->Left(), form->Top(), form->Width(), form->Height()),
             QRect(10, 10, 600, 400));
}

void TestOptions::closeStores_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("winState");
    QTest::newRow("normal") << int(wsNormal) << "700"
                            << "0";
    QTest::newRow("maximised keeps earlier bounds") << int(wsMaximized) << "640"
                                                    << "2";
    QTest::newRow("minimised keeps earlier bounds") << int(wsMinimized) << "640"
                                                    << "1";
}

void TestOptions::closeStores()
{
    QFETCH(int, state);
    QFETCH(QString, width);
    QFETCH(QString, winState);
    PrepareStore({R"("Width"="640")", R"("Heigth"="480")", R"("Left"="20")", R"("Top"="30")",
                  R"("WinState"="0")"});
    TTeskMailerForm *form = ShowNewWindow();
    form->SetWidth(700);
    form->SetWindowState(static_cast<TWindowState>(state));
    QTRY_COMPARE(int(form->WindowState()), state);
    form->close();
    QVERIFY(boxes_->Boxes().empty());
    QCOMPARE(Stored("Width"), width);
    QCOMPARE(Stored("Heigth"), QString("480"));
    QCOMPARE(Stored("Left"), QString("20"));
    QCOMPARE(Stored("WinState"), winState);
    QCOMPARE(Stored("FileToolBarLeft"), QString("11"));
    QCOMPARE(Stored("FileToolBarTop"), QString("2"));
    QCOMPARE(Stored("FileToolBarVisible"), QString("1"));
    QCOMPARE(Stored("Height"), QString("<absent>"));
}

void TestOptions::storedTextsFollowTheIntegerRule()
{
    PrepareStore({R"("Width"="$258")", R"("Heigth"="500 ")", R"("Height"="300")", R"("Left"=" 30")",
                  R"("Top"="0x28")", R"("FileToolBarVisible"="0")", R"("WinState"="0")"});
    TTeskMailerForm *form = ShowNewWindow();
    QCOMPARE(form->WindowState(), wsNormal);
    QCOMPARE(QRect(form->Left(), form->Top(), form->Width(), form->Height()),
             QRect(30, 40, 600, 400));
    QVERIFY(form->FileToolBar->isHidden());
    // Without its band the tool band shrinks to its frame and the areas below move up.
    QCOMPARE(form->ControlBar1->height(), 4);
    QCOMPARE(form->TopPanel->y(), 28);
    QVERIFY(boxes_->Boxes().empty());
}

void TestOptions::normalStateTakesNoOtherStateOnTheWay()
{
    PrepareStore({R"("WinState"="0")"});
    form_ = std::make_unique<TTeskMailerForm>();
    StateRecorder recorder;
    form_->installEventFilter(&recorder);
    form_->Show();
    QCOMPARE(form_->WindowState(), wsNormal);
    QVERIFY2(recorder.states.isEmpty(), "the window changed state on its way to normal");
}

void TestOptions::stateIsTheLowByte()
{
    PrepareStore({R"("WinState"="258")"});
    QCOMPARE(ShowNewWindow()->WindowState(), wsMaximized);
}

void TestOptions::valueOfAnotherTypeStopsLoading()
{
    PrepareStore({R"("Width"="640")", R"("Heigth"="480")", R"("Left"=dword:00000064)",
                  R"("Top"="50")", R"("WinState"="2")"});
    TTeskMailerForm *form = ShowNewWindow();
    QVERIFY(form->isVisible());
    QCOMPARE(boxes_->Boxes().size(), std::size_t(1));
    QCOMPARE(boxes_->Boxes()[0].text, QString("Invalid data type for 'Left'"));
    QCOMPARE(boxes_->Boxes()[0].caption, Application->Title());
    QTRY_COMPARE(QSize(form->Width(), form->Height()), QSize(640, 480));
    // What follows the faulty value is not applied: not the top, not the state.
    QVERIFY(form->Top() != 50);
    QCOMPARE(form->WindowState(), wsNormal);
}

void TestOptions::unwritableStoreKeepsWindowOpenAndRetries()
{
    TTeskMailerForm *form = ShowNewWindow();
    // A directory in the file's place stops every writer, root included.
    QVERIFY(QDir().mkpath(SettingsFile()));
    form->close();
    QVERIFY(form->isVisible());
    QCOMPARE(boxes_->Boxes().size(), std::size_t(1));
    QCOMPARE(boxes_->Boxes()[0].text, QString("Failed to create key Option."));
    QVERIFY(QDir(SettingsFile()).removeRecursively());
    form->close();
    QVERIFY(!form->isVisible());
    QCOMPARE(Stored("WinState"), QString("2"));
}

void TestOptions::lastClosedCopyWins()
{
    PrepareStore({R"("WinState"="0")"});
    TTeskMailerForm first;
    TTeskMailerForm second;
    first.Show();
    second.Show();
    first.SetWidth(500);
    second.SetWidth(520);
    second.close();
    first.close();
    QCOMPARE(Stored("Width"), QString("500"));
}

void TestOptions::windowOffEveryScreenIsBroughtBack()
{
    PrepareStore({R"("Width"="100000")", R"("Heigth"="480")", R"("Left"="-9000")",
                  R"("Top"="-9000")", R"("WinState"="0")"});
    TTeskMailerForm *form = ShowNewWindow();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(form->Width(), screen.width());
    QCOMPARE(form->Height(), 480);
    QVERIFY(screen.intersects(QRect(form->Left(), form->Top(), form->Width(), form->Height())));
}

TESK_TEST_MAIN(TestOptions)
#include "tst_options.moc"
