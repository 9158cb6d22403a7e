// The splitter: its drag rule as a table, real mouse drags on a window laid out like the main
// window (snapping shut, the lower area's floor, Esc, reopening), the drag bar and the bevel.
#include "TForm.h"
#include "TPanel.h"
#include "TSplitter.h"
#include "TestSupport.h"

#include <QTest>
#include <QWindow>
#include <memory>

namespace {

// Client 775 x 506 with the main window's aligned areas at design size; the splitter comes
// first among the children, as in the design description.
class SplitterForm : public TForm
{
public:
    SplitterForm()
    {
        splitter = Place(new TSplitter(this), QRect(0, 251, 775, 3), "alTop");
        Place(new TPanel(this), QRect(0, 0, 775, 24), "alTop");
        Place(new TPanel(this), QRect(0, 24, 775, 34), "alTop");
        Place(new TPanel(this), QRect(0, 487, 775, 19), "alBottom");
        upper = Place(new TPanel(this), QRect(0, 58, 775, 193), "alTop");
        lower = Place(new TPanel(this), QRect(0, 254, 775, 233), "alClient");
        splitter->SetBeveled(true);
        resize(775, 506);
        Loaded();
    }

    template <class T> static T *Place(T *control, const QRect &geometry, const char *align)
    {
        control->setGeometry(geometry);
        control->setProperty("align", QString::fromLatin1(align));
        return control;
    }

    TSplitter *splitter;
    TPanel *upper;
    TPanel *lower;
};

// The heights of the menu bar, tool band, splitter and status bar around the two areas.
constexpr int FixedHeights = 24 + 34 + 3 + 19;

// Presses the left button on the splitter, moves the mouse by dy in two steps (optionally
// pressing Esc there) and releases it, all through the window as real input arrives.
void DragSplitter(TSplitter *splitter, int dy, bool escape = false)
{
    QWindow *window = splitter->window()->windowHandle();
    const QPoint press = splitter->mapTo(splitter->window(), QPoint(100, 1));
    QTest::mousePress(window, Qt::LeftButton, {}, press);
    QTest::mouseMove(window, press + QPoint(0, dy / 2));
    QTest::mouseMove(window, press + QPoint(0, dy));
    if (escape)
        QTest::keyClick(window, Qt::Key_Escape);
    QTest::mouseRelease(window, Qt::LeftButton, {}, press + QPoint(0, dy));
}

bool IsInverted(QRgb now, QRgb before)
{
    return (now & 0xFFFFFF) == (~before & 0xFFFFFF);
}

} // namespace

class TestSplitter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void proposedSize_data();
    void proposedSize();
    void drag_data();
    void drag();
    void dragBarIsInvertedHatchUntilRelease();
    void closedAreaStaysAboveSplitterAfterRealign();
    void bottomSplitterResizesControlBelow();
    void bevel_data();
    void bevel();

private:
    std::unique_ptr<SplitterForm> form_;
};

void TestSplitter::init()
{
    form_ = std::make_unique<SplitterForm>();
    form_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestSplitter::cleanup()
{
    form_.reset();
}

void TestSplitter::proposedSize_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("distance");
    QTest::addColumn<int>("maxSize");
    QTest::addColumn<bool>("autoSnap");
    QTest::addColumn<int>("expected");
    QTest::newRow("no move") << 193 << 0 << 396 << true << 193;
    QTest::newRow("down") << 193 << 50 << 396 << true << 243;
    QTest::newRow("up to 31 stays open") << 193 << -162 << 396 << true << 31;
    QTest::newRow("up to exactly 30 snaps shut") << 193 << -163 << 396 << true << 0;
    QTest::newRow("up below 30 snaps shut") << 193 << -180 << 396 << true << 0;
    QTest::newRow("far above the window snaps shut") << 193 << -5000 << 396 << true << 0;
    QTest::newRow("down to the far area's floor") << 193 << 203 << 396 << true << 396;
    QTest::newRow("beyond the floor stops at it") << 193 << 204 << 396 << true << 396;
    QTest::newRow("closed, down 30 stays closed") << 0 << 30 << 396 << true << 0;
    QTest::newRow("closed, down 31 opens") << 0 << 31 << 396 << true << 31;
    QTest::newRow("closed, up stays closed") << 0 << -20 << 396 << true << 0;
    QTest::newRow("no snap: stops at the least size") << 193 << -180 << 396 << false << 30;
    QTest::newRow("no snap: 30 is allowed") << 193 << -163 << 396 << false << 30;
    QTest::newRow("too small for both areas: snaps shut") << 193 << 0 << 20 << true << 0;
    QTest::newRow("too small, no snap: the far floor wins") << 193 << 0 << 20 << false << 20;
    QTest::newRow("no room at all") << 193 << 0 << -15 << false << 0;
}

void TestSplitter::proposedSize()
{
    QFETCH(int, start);
    QFETCH(int, distance);
    QFETCH(int, maxSize);
    QFETCH(bool, autoSnap);
    QFETCH(int, expected);
    QCOMPARE(ProposedSplitSize(start, distance, {30, maxSize, autoSnap}), expected);
}

void TestSplitter::drag_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("dy");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<int>("expected");
    QTest::newRow("down 50") << 193 << 50 << false << 243;
    QTest::newRow("up to 31 stays open") << 193 << -162 << false << 31;
    QTest::newRow("up to exactly 30 snaps shut") << 193 << -163 << false << 0;
    QTest::newRow("up below 30 snaps shut") << 193 << -180 << false << 0;
    QTest::newRow("down to the lower area's floor") << 193 << 203 << false << 396;
    QTest::newRow("beyond the window stops at the floor") << 193 << 300 << false << 396;
    QTest::newRow("Esc cancels") << 193 << 80 << true << 193;
    QTest::newRow("Esc cancels a snap") << 193 << -180 << true << 193;
    QTest::newRow("closed, down 30 stays closed") << 0 << 30 << false << 0;
    QTest::newRow("closed, down 31 opens") << 0 << 31 << false << 31;
    QTest::newRow("closed, up stays closed") << 0 << -20 << false << 0;
    QTest::newRow("closed, Esc keeps it closed") << 0 << 100 << true << 0;
}

void TestSplitter::drag()
{
    QFETCH(int, start);
    QFETCH(int, dy);
    QFETCH(bool, escape);
    QFETCH(int, expected);
    form_->upper->resize(775, start);
    QCOMPARE(form_->splitter->y(), 58 + start);

    DragSplitter(form_->splitter, dy, escape);

    QVERIFY(!form_->splitter->Dragging());
    QCOMPARE(form_->upper->geometry(), QRect(0, 58, 775, expected));
    QCOMPARE(form_->splitter->geometry(), QRect(0, 58 + expected, 775, 3));
    QCOMPARE(form_->lower->geometry(),
             QRect(0, 58 + expected + 3, 775, 506 - FixedHeights - expected));
}

void TestSplitter::dragBarIsInvertedHatchUntilRelease()
{
    QWindow *window = form_->windowHandle();
    const QImage before = form_->grab().toImage();
    const QPoint press(100, 252);
    QTest::mousePress(window, Qt::LeftButton, {}, press);
    QTest::mouseMove(window, press + QPoint(0, 60));

    auto *bar = form_->findChild<QWidget *>("SplitterDragBar");
    QVERIFY(bar);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->geometry(), QRect(0, 311, 775, 3));
    QCOMPARE(form_->upper->height(), 193);
    QCOMPARE(form_->splitter->y(), 251);

    // Every pixel under the bar is either inverted or left alone, alternating like a
    // checkerboard.
    const QImage during = form_->grab().toImage();
    for (int y = bar->y(); y <= bar->geometry().bottom(); ++y) {
        for (int x = 0; x < bar->width() - 1; ++x) {
            const bool inverted = IsInverted(during.pixel(x, y), before.pixel(x, y));
            QVERIFY2(inverted || during.pixel(x, y) == before.pixel(x, y),
                     qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
            QVERIFY(inverted != IsInverted(during.pixel(x + 1, y), before.pixel(x + 1, y)));
        }
    }
    // Outside the bar nothing changed.
    QCOMPARE(during.copy(0, 0, 775, 311), before.copy(0, 0, 775, 311));

    QTest::mouseRelease(window, Qt::LeftButton, {}, press + QPoint(0, 60));
    QVERIFY(!form_->findChild<QWidget *>("SplitterDragBar"));
    QCOMPARE(form_->upper->height(), 253);
}

void TestSplitter::closedAreaStaysAboveSplitterAfterRealign()
{
    DragSplitter(form_->splitter, -180);
    QCOMPARE(form_->upper->height(), 0);

    // A realignment must keep the closed area in its place above the splitter.
    form_->resize(800, 560);
    QCOMPARE(form_->splitter->y(), 58);
    QCOMPARE(form_->upper->y(), 58);
    QCOMPARE(form_->splitter->ResizedControl(), form_->upper);

    DragSplitter(form_->splitter, 100);
    QCOMPARE(form_->upper->geometry(), QRect(0, 58, 800, 100));
    QCOMPARE(form_->splitter->y(), 158);
}

void TestSplitter::bottomSplitterResizesControlBelow()
{
    TForm form;
    SplitterForm::Place(new TPanel(&form), QRect(0, 0, 400, 100), "alTop");
    auto *rest = SplitterForm::Place(new TPanel(&form), QRect(0, 100, 400, 97), "alClient");
    auto *splitter = SplitterForm::Place(new TSplitter(&form), QRect(0, 197, 400, 3), "alBottom");
    auto *below = SplitterForm::Place(new TPanel(&form), QRect(0, 200, 400, 100), "alBottom");
    form.resize(400, 300);
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(splitter->ResizedControl(), below);

    DragSplitter(splitter, -50);
    QCOMPARE(below->geometry(), QRect(0, 150, 400, 150));
    QCOMPARE(splitter->y(), 147);

    // The area above keeps 30 pixels: 300 - 100 - 3 - 30.
    DragSplitter(splitter, -200);
    QCOMPARE(below->height(), 167);
    QCOMPARE(rest->height(), 30);

    DragSplitter(splitter, 140);
    QCOMPARE(below->geometry(), QRect(0, 300, 400, 0));
    QCOMPARE(splitter->y(), 297);
}

void TestSplitter::bevel_data()
{
    QTest::addColumn<bool>("beveled");
    QTest::newRow("beveled") << true;
    QTest::newRow("flat") << false;
}

void TestSplitter::bevel()
{
    QFETCH(bool, beveled);
    TSplitter *splitter = form_->splitter;
    splitter->SetBeveled(beveled);
    const QImage image = splitter->grab().toImage();
    const QPalette palette = splitter->palette();
    const QRgb face = palette.color(QPalette::Window).rgb();
    const QRgb top = beveled ? palette.color(QPalette::Dark).rgb() : face;
    const QRgb bottom = beveled ? palette.color(QPalette::Light).rgb() : face;
    for (const int x : {0, 400, 774}) {
        QCOMPARE(image.pixel(x, 0), top);
        QCOMPARE(image.pixel(x, 1), face);
        QCOMPARE(image.pixel(x, 2), bottom);
    }
}

TESK_TEST_MAIN(TestSplitter)
#include "tst_splitter.moc"
