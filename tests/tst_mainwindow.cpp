// The main window's layout at design size and after resizing, its focus and tab order,
// the status bar's panels and the hint line.
#include "MainUnit.h"
#include "TestSupport.h"

#include <QCursor>
#include <QTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layoutAtDesignSize_data();
    void layoutAtDesignSize();
    void resizingChangesOnlyLowerAreaAndList_data();
    void resizingChangesOnlyLowerAreaAndList();
    void focusStartsInTreeAndTabCycles();
    void hintLineIsTheSecondPanel();
    void statusPanelsSplitTheBar();
    void showHandlerInstallsHintHandlerAndFileName();

private:
    void ResizeClient(int width, int height);
};

void TestMainWindow::initTestCase()
{
    Application->SetTitle("Tesk - Vadederar");
    Application->CreateForm(TeskMailerForm);
    TeskMailerForm->Show();
    QVERIFY(QTest::qWaitForWindowExposed(TeskMailerForm));
}

void TestMainWindow::ResizeClient(int width, int height)
{
    TeskMailerForm->SetWindowState(wsNormal);
    TeskMailerForm->resize(width, height);
    QTRY_COMPARE(TeskMailerForm->size(), QSize(width, height));
}

void TestMainWindow::layoutAtDesignSize_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("menu bar") << "ActionMainMenuBar1" << QRect(0, 0, 775, 24);
    QTest::newRow("tool band") << "ControlBar1" << QRect(0, 24, 775, 34);
    QTest::newRow("upper area") << "TopPanel" << QRect(0, 58, 775, 193);
    QTest::newRow("splitter") << "Splitter1" << QRect(0, 251, 775, 3);
    QTest::newRow("lower area") << "plBottom" << QRect(0, 254, 775, 233);
    QTest::newRow("status bar") << "StatusBar1" << QRect(0, 487, 775, 19);
    QTest::newRow("tree") << "twFolders" << QRect(0, 0, 257, 193);
    QTest::newRow("list") << "lwMails" << QRect(257, 0, 518, 193);
    QTest::newRow("header strip") << "plMailInfo" << QRect(0, 0, 775, 33);
    QTest::newRow("text") << "mmMail" << QRect(0, 33, 775, 200);
}

void TestMainWindow::layoutAtDesignSize()
{
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    ResizeClient(775, 506);
    auto *widget = TeskMailerForm->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
}

void TestMainWindow::resizingChangesOnlyLowerAreaAndList_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("grown") << QSize(1000, 700);
    QTest::newRow("shrunk") << QSize(600, 400);
}

void TestMainWindow::resizingChangesOnlyLowerAreaAndList()
{
    QFETCH(QSize, client);
    ResizeClient(client.width(), client.height());
    const int dw = client.width() - 775;
    const int dh = client.height() - 506;
    auto *form = TeskMailerForm;
    QCOMPARE(form->TopPanel->geometry(), QRect(0, 58, client.width(), 193));
    QCOMPARE(form->Splitter1->geometry(), QRect(0, 251, client.width(), 3));
    QCOMPARE(form->plBottom->geometry(), QRect(0, 254, client.width(), 233 + dh));
    QCOMPARE(form->StatusBar1->geometry(), QRect(0, 487 + dh, client.width(), 19));
    QCOMPARE(form->twFolders->geometry(), QRect(0, 0, 257, 193));
    QCOMPARE(form->lwMails->geometry(), QRect(257, 0, 518 + dw, 193));
    QCOMPARE(form->mmMail->geometry(), QRect(0, 33, client.width(), 200 + dh));
}

void TestMainWindow::focusStartsInTreeAndTabCycles()
{
    TeskMailerForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(TeskMailerForm));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(TeskMailerForm->twFolders));
    const QList<QWidget *> forward = {TeskMailerForm->lwMails, TeskMailerForm->mmMail,
                                      TeskMailerForm->twFolders};
    for (QWidget *expected : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expected);
    }
    const QList<QWidget *> backward = {TeskMailerForm->mmMail, TeskMailerForm->lwMails,
                                       TeskMailerForm->twFolders};
    for (QWidget *expected : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), expected);
    }
}

void TestMainWindow::hintLineIsTheSecondPanel()
{
    Application->SetHint("Выйти из программы");
    QCOMPARE(TeskMailerForm->StatusBar1->PanelText(1), QString("Выйти из программы"));
    QCOMPARE(TeskMailerForm->StatusBar1->PanelText(0), QString());
    // Over the folder tree there is no hint, and the line empties.
    QCursor::setPos(TeskMailerForm->twFolders->mapToGlobal(QPoint(40, 40)));
    ProcessUntilIdle();
    QCOMPARE(TeskMailerForm->StatusBar1->PanelText(1), QString());
}

void TestMainWindow::statusPanelsSplitTheBar()
{
    ResizeClient(775, 506);
    const TStatusBar *bar = TeskMailerForm->StatusBar1;
    QCOMPARE(bar->PanelCount(), 2);
    QCOMPARE(bar->PanelRect(0), QRect(0, 0, 50, 19));
    QCOMPARE(bar->PanelRect(1), QRect(50, 0, 725, 19));
}

void TestMainWindow::showHandlerInstallsHintHandlerAndFileName()
{
    QVERIFY(bool(Application->OnHint));
    const QString expected =
        QFileInfo(Application->ExeName()).absolutePath() + QStringLiteral("/teskmail.dat");
    QCOMPARE(TeskMailerForm->ActionManager1->FileName(), expected);
}

TESK_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
