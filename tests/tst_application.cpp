// The application object: error texts, hints, idle work, window creation, the loop's ends
// and the ordered teardown. Whole runs happen in a child process (one scenario each), since
// a run of the loop ends the application object.
#include "TForm.h"
#include "TestSupport.h"

#include <QCursor>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>

namespace {

void Say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class NamedForm : public TForm
{
public:
    explicit NamedForm(const QString &name = QStringLiteral("form"))
    {
        setObjectName(name);
        resize(300, 200);
    }
};

class FirstForm : public NamedForm
{
public:
    FirstForm() : NamedForm(QStringLiteral("first")) {}
};
class SecondForm : public NamedForm
{
public:
    SecondForm() : NamedForm(QStringLiteral("second")) {}
};
class ThirdForm : public NamedForm
{
public:
    ThirdForm() : NamedForm(QStringLiteral("third")) {}
};

class FailingForm;
FailingForm *failingReference = nullptr;
bool referenceWasSetDuringConstruction = false;

class FailingForm : public TForm
{
public:
    FailingForm()
    {
        referenceWasSetDuringConstruction = failingReference == this;
        throw EResNotFound(QStringLiteral("Resource TFAILINGFORM not found"));
    }
};

FirstForm *first = nullptr;
SecondForm *second = nullptr;
ThirdForm *third = nullptr;

void RecordDestruction(TForm *form)
{
    QObject::connect(form, &QObject::destroyed, [name = form->objectName()] {
        Say(QStringLiteral("destroyed %1").arg(name));
    });
}

void PrintMessageBoxes()
{
    Application->SetMessagePresenter([](const TMessageBoxRequest &request) {
        Say(QStringLiteral("box [%1] %2").arg(request.caption, request.text));
        return QMessageBox::Ok;
    });
    QObject::connect(Application, &TApplication::TooltipsRemoved, [] { Say("tooltips off"); });
}

int CreateThreeForms()
{
    Application->CreateForm(first);
    RecordDestruction(first);
    Application->CreateForm(second);
    RecordDestruction(second);
    Application->CreateForm(third);
    RecordDestruction(third);
    first->OnShow = [](QObject *) {
        Say(QStringLiteral("show state %1").arg(first->WindowState()));
    };
    first->OnClose = [](QObject *, TCloseAction &) { Say("close handler"); };
    return 0;
}

// The child process: one whole run of the application object, reporting what happened.
int RunScenario(const QString &scenario)
{
    PrintMessageBoxes();
    try {
        Application->SetTitle(QStringLiteral("Tesk - Vadederar"));
        CreateThreeForms();
        if (scenario == "startup-failure") {
            Application->CreateForm(failingReference);
        } else if (scenario == "close") {
            QTimer::singleShot(0, [] { first->close(); });
        } else if (scenario == "sigterm") {
            QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        } else if (scenario == "maximised") {
            Application->SetStartupShowCommand(TApplication::SW_SHOWMAXIMIZED);
            QTimer::singleShot(0, [] { first->close(); });
        } else if (scenario == "minimised") {
            Application->SetStartupShowCommand(TApplication::SW_SHOWMINNOACTIVE);
            QTimer::singleShot(0, [] {
                Say(QStringLiteral("visible %1 state %2")
                        .arg(first->isVisible())
                        .arg(first->WindowState()));
                Say("restore");
                first->SetWindowState(wsNormal);
                QTimer::singleShot(0, [] { first->close(); });
            });
        }
        Application->Run();
        Say(QStringLiteral("run returned, terminated %1").arg(Application->Terminated()));
    } catch (const std::exception &error) {
        Say(QStringLiteral("reference cleared %1, set during construction %2")
                .arg(failingReference == nullptr)
                .arg(referenceWasSetDuringConstruction));
        Application->ShowStartupException(error);
        return 1;
    }
    return 0;
}

struct ScenarioResult
{
    int exitCode = -1;
    QStringList lines;
};

ScenarioResult RunChild(const QString &scenario)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--scenario"), scenario});
    child.waitForFinished(30000);
    ScenarioResult result;
    result.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    result.lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return result;
}

const QStringList teardownLines = {"tooltips off", "destroyed third", "destroyed second",
                                   "destroyed first"};

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void fullStopRule_data();
    void fullStopRule();
    void longHint();
    void hintEventOnlyOnChange();
    void idleHintFollowsPointer();
    void errorInHandlerIsReportedAndLoopGoesOn();
    void errorInCloseHandlerKeepsWindowOpen();
    void errorInShowHandlerStillShowsWindow();
    void closePathRunsCloseHandlerOnceThenTearsDown();
    void startupFailureEndsWithCodeOne();
    void endOfSessionSkipsClosePath();
    void showCommandMaximised();
    void showCommandMinimised();
};

void TestApplication::fullStopRule_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("letter") << "Failed to create key Option"
                            << "Failed to create key Option.";
    QTest::newRow("already stopped") << "Done."
                                     << "Done.";
    QTest::newRow("cyrillic") << "Ошибка"
                              << "Ошибка.";
    QTest::newRow("digit") << "Code 5"
                           << "Code 5.";
    QTest::newRow("quote sorts before the stop") << "Invalid data type for 'Left'"
                                                 << "Invalid data type for 'Left'";
    QTest::newRow("exclamation") << "Stop!"
                                 << "Stop!";
    QTest::newRow("question sorts after") << "Why?"
                                          << "Why?.";
    QTest::newRow("trailing space") << "text "
                                    << "text ";
}

void TestApplication::fullStopRule()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(MessageWithFullStop(message), shown);
}

void TestApplication::longHint()
{
    QCOMPARE(GetLongHint("short|long"), QString("long"));
    QCOMPARE(GetLongHint("a|b|c"), QString("b|c"));
    QCOMPARE(GetLongHint("whole"), QString("whole"));
    QCOMPARE(GetLongHint(""), QString());
}

void TestApplication::hintEventOnlyOnChange()
{
    QStringList seen;
    Application->OnHint = [&](QObject *sender) {
        QCOMPARE(sender, Application);
        seen << Application->Hint();
    };
    Application->SetHint("one");
    Application->SetHint("one");
    Application->SetHint("two");
    Application->SetHint("");
    Application->SetHint("");
    Application->OnHint = nullptr;
    QCOMPARE(seen, QStringList({"one", "two", ""}));
}

void TestApplication::idleHintFollowsPointer()
{
    NamedForm form;
    form.setGeometry(100, 100, 400, 100);
    auto *plain = new QLabel(&form);
    plain->setGeometry(0, 0, 50, 50);
    auto *withHint = new QLabel(&form);
    withHint->setGeometry(50, 0, 50, 50);
    withHint->setStatusTip("Подсказка");
    auto *disabled = new QPushButton(&form);
    disabled->setGeometry(100, 0, 50, 50);
    disabled->setStatusTip("Отключено");
    disabled->setEnabled(false);
    auto *parentWithHint = new QWidget(&form);
    parentWithHint->setGeometry(150, 0, 100, 50);
    parentWithHint->setStatusTip("Родитель");
    auto *inner = new QLabel(parentWithHint);
    inner->setGeometry(0, 0, 50, 50);
    auto *twinA = new QLabel(&form);
    twinA->setGeometry(250, 0, 50, 50);
    twinA->setStatusTip("Одинаково");
    auto *twinB = new QLabel(&form);
    twinB->setGeometry(300, 0, 50, 50);
    twinB->setStatusTip("Одинаково");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    int calls = 0;
    Application->OnHint = [&](QObject *) { ++calls; };
    auto hintAt = [&](QWidget *control) {
        QCursor::setPos(control->mapToGlobal(QPoint(25, 25)));
        ProcessUntilIdle();
        return Application->Hint();
    };
    QCOMPARE(hintAt(withHint), QString("Подсказка"));
    QCOMPARE(hintAt(plain), QString());
    QCOMPARE(hintAt(disabled), QString("Отключено"));
    QCOMPARE(hintAt(inner), QString("Родитель"));
    QCOMPARE(hintAt(twinA), QString("Одинаково"));
    const int callsBefore = calls;
    QCOMPARE(hintAt(twinB), QString("Одинаково"));
    QCOMPARE(calls, callsBefore);
    QCursor::setPos(QPoint(5, 5));
    ProcessUntilIdle();
    QCOMPARE(Application->Hint(), QString());
    Application->OnHint = nullptr;
}

void TestApplication::errorInHandlerIsReportedAndLoopGoesOn()
{
    MessageRecorder boxes;
    Application->SetTitle("Tesk - Vadederar");
    NamedForm form;
    auto *button = new QPushButton("x", &form);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] {
        ++clicks;
        throw Exception("Ошибка в обработчике");
    });
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(boxes.Boxes().size(), std::size_t(2));
    QCOMPARE(boxes.Boxes()[0].caption, QString("Tesk - Vadederar"));
    QCOMPARE(boxes.Boxes()[0].text, QString("Ошибка в обработчике."));
    QCOMPARE(boxes.Boxes()[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes.Boxes()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestApplication::errorInCloseHandlerKeepsWindowOpen()
{
    MessageRecorder boxes;
    NamedForm form;
    bool fail = true;
    form.OnClose = [&](QObject *, TCloseAction &) {
        if (fail)
            throw ERegistryException("Failed to create key Option");
    };
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.close();
    QVERIFY(form.isVisible());
    QCOMPARE(boxes.Boxes().size(), std::size_t(1));
    QCOMPARE(boxes.Boxes()[0].text, QString("Failed to create key Option."));
    fail = false;
    form.close();
    QVERIFY(!form.isVisible());
}

void TestApplication::errorInShowHandlerStillShowsWindow()
{
    MessageRecorder boxes;
    NamedForm form;
    form.OnShow = [](QObject *) { throw Exception("Invalid data type for 'Left'"); };
    form.Show();
    QVERIFY(form.isVisible());
    QCOMPARE(boxes.Boxes().size(), std::size_t(1));
    QCOMPARE(boxes.Boxes()[0].text, QString("Invalid data type for 'Left'"));
}

void TestApplication::closePathRunsCloseHandlerOnceThenTearsDown()
{
    const ScenarioResult run = RunChild("close");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.lines,
             QStringList({"show state 0", "close handler", "run returned, terminated 1"}) +
                 teardownLines);
}

void TestApplication::startupFailureEndsWithCodeOne()
{
    const ScenarioResult run = RunChild("startup-failure");
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lines.value(0), QString("reference cleared 1, set during construction 1"));
    const QString box = run.lines.value(1);
    QVERIFY2(box.startsWith("box [Application Error] Exception EResNotFound in module "
                            "tst_application at "),
             qPrintable(box));
    QVERIFY2(QRegularExpression(" at [0-9A-F]{8,16}\\.$").match(box).hasMatch(), qPrintable(box));
    QCOMPARE(run.lines.value(2), QString("Resource TFAILINGFORM not found."));
    // The windows created before the failure are still destroyed, last first.
    QCOMPARE(run.lines.mid(3), teardownLines);
}

void TestApplication::endOfSessionSkipsClosePath()
{
    const ScenarioResult run = RunChild("sigterm");
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!run.lines.contains("close handler"));
    QCOMPARE(run.lines.mid(run.lines.indexOf("run returned, terminated 1")),
             QStringList({"run returned, terminated 1"}) + teardownLines);
}

void TestApplication::showCommandMaximised()
{
    const ScenarioResult run = RunChild("maximised");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.lines.value(0), QString("show state %1").arg(wsMaximized));
}

void TestApplication::showCommandMinimised()
{
    const ScenarioResult run = RunChild("minimised");
    QCOMPARE(run.exitCode, 0);
    // Nothing runs the show handler until the user restores the window.
    QCOMPARE(run.lines.value(0), QString("visible 1 state %1").arg(wsMinimized));
    QCOMPARE(run.lines.value(1), QString("restore"));
    QCOMPARE(run.lines.value(2), QString("show state %1").arg(wsNormal));
}

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(resources);
    TApplication application(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--scenario")
        return RunScenario(QString::fromUtf8(argv[2]));
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
