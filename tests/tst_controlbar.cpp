// The tool band container: the band layout as a table, and the container in a window laid out
// like the main window's top (its height following its rows, moved, hidden and dragged bands).
#include "TControlBar.h"
#include "TForm.h"
#include "TPanel.h"
#include "TestSupport.h"

#include <QTest>
#include <QWindow>
#include <memory>

namespace {

template <class T> T *Place(T *control, const QRect &geometry, const char *align)
{
    control->setGeometry(geometry);
    control->setProperty("align", QString::fromLatin1(align));
    return control;
}

// Client 775 x 506: a menu bar, the tool band container holding a 198 x 26 toolbar at its
// design place, the upper area and the rest, at the main window's design sizes.
class BandForm : public TForm
{
public:
    BandForm()
    {
        Place(new TPanel(this), QRect(0, 0, 775, 24), "alTop");
        bar = Place(new TControlBar(this), QRect(0, 24, 775, 34), "alTop");
        bar->SetAutoSize(true);
        bar->SetRowSize(30);
        toolBar = new QWidget(bar);
        toolBar->setGeometry(11, 2, 198, 26);
        upper = Place(new TPanel(this), QRect(0, 58, 775, 193), "alTop");
        Place(new TPanel(this), QRect(0, 251, 775, 255), "alClient");
        resize(775, 506);
        Loaded();
    }

    // A second band, shown in the running window.
    QWidget *AddBand(const QRect &geometry)
    {
        auto *control = new QWidget(bar);
        control->setGeometry(geometry);
        control->show();
        return control;
    }

    TControlBar *bar;
    QWidget *toolBar;
    TPanel *upper;
};

// Drags with the left button from one point of the container to another, as real input.
void DragInBar(TControlBar *bar, const QPoint &from, const QPoint &to)
{
    QWindow *window = bar->window()->windowHandle();
    const QPoint start = bar->mapTo(bar->window(), from);
    const QPoint end = bar->mapTo(bar->window(), to);
    QTest::mousePress(window, Qt::LeftButton, {}, start);
    QTest::mouseMove(window, (start + end) / 2);
    QTest::mouseMove(window, end);
    QTest::mouseRelease(window, Qt::LeftButton, {}, end);
}

} // namespace

class TestControlBar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layOutBands_data();
    void layOutBands();
    void designLayout();
    void hiddenToolBarShrinksToFrame();
    void movedToolBarIsPlacedByTheRules_data();
    void movedToolBarIsPlacedByTheRules();
    void bandInSecondRowGrowsContainer();
    void dragByGrabHandle();
    void pressOutsideHandlesMovesNothing();
    void withoutAutoSizeHeightStays();

private:
    std::unique_ptr<BandForm> form_;
};

void TestControlBar::init()
{
    form_ = std::make_unique<BandForm>();
    form_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestControlBar::cleanup()
{
    form_.reset();
}

void TestControlBar::layOutBands_data()
{
    QTest::addColumn<QList<QRect>>("controls");
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<QPoint>>("positions");
    QTest::addColumn<int>("height");
    const QRect toolBar(11, 2, 198, 26);
    QTest::newRow("design: left end of the first row")
        << QList<QRect>{toolBar} << 775 << QList<QPoint>{{11, 2}} << 34;
    QTest::newRow("no band: only the frame") << QList<QRect>{} << 775 << QList<QPoint>{} << 4;
    QTest::newRow("left of the handle is pulled in")
        << QList<QRect>{{0, 0, 198, 26}} << 775 << QList<QPoint>{{11, 2}} << 34;
    QTest::newRow("above the top goes into the first row")
        << QList<QRect>{{11, -40, 198, 26}} << 775 << QList<QPoint>{{11, 2}} << 34;
    QTest::newRow("odd position snaps into its row")
        << QList<QRect>{{40, 16, 198, 26}} << 775 << QList<QPoint>{{40, 2}} << 34;
    QTest::newRow("an empty first row closes up")
        << QList<QRect>{{11, 32, 198, 26}} << 775 << QList<QPoint>{{11, 2}} << 34;
    QTest::newRow("far right stays inside the container")
        << QList<QRect>{{700, 2, 198, 26}} << 775 << QList<QPoint>{{575, 2}} << 34;
    QTest::newRow("bands of a row do not overlap") << QList<QRect>{toolBar, {100, 2, 100, 26}}
                                                   << 775 << QList<QPoint>{{11, 2}, {222, 2}} << 34;
    QTest::newRow("a row follows the left edges")
        << QList<QRect>{{300, 2, 198, 26}, {11, 2, 100, 26}} << 775
        << QList<QPoint>{{300, 2}, {11, 2}} << 34;
    QTest::newRow("narrow container: still no overlap")
        << QList<QRect>{toolBar, {100, 2, 100, 26}} << 150 << QList<QPoint>{{11, 2}, {222, 2}}
        << 34;
    QTest::newRow("second row") << QList<QRect>{toolBar, {11, 32, 100, 26}} << 775
                                << QList<QPoint>{{11, 2}, {11, 32}} << 64;
    QTest::newRow("odd position snaps into the second row")
        << QList<QRect>{toolBar, {50, 47, 100, 26}} << 775 << QList<QPoint>{{11, 2}, {50, 32}}
        << 64;
    QTest::newRow("just above the second row's middle stays in the first")
        << QList<QRect>{toolBar, {250, 16, 100, 26}} << 775 << QList<QPoint>{{11, 2}, {250, 2}}
        << 34;
    QTest::newRow("far below makes one new row") << QList<QRect>{toolBar, {11, 500, 100, 26}} << 775
                                                 << QList<QPoint>{{11, 2}, {11, 32}} << 64;
    QTest::newRow("a tall band takes two rows")
        << QList<QRect>{{11, 2, 198, 50}} << 775 << QList<QPoint>{{11, 2}} << 64;
}

void TestControlBar::layOutBands()
{
    QFETCH(QList<QRect>, controls);
    QFETCH(int, width);
    QFETCH(QList<QPoint>, positions);
    QFETCH(int, height);
    const TBandLayout layout =
        LayOutBands(std::vector<QRect>(controls.begin(), controls.end()), width, 30);
    QCOMPARE(QList<QPoint>(layout.positions.begin(), layout.positions.end()), positions);
    QCOMPARE(layout.height, height);
}

void TestControlBar::designLayout()
{
    QCOMPARE(form_->toolBar->geometry(), QRect(11, 2, 198, 26));
    QCOMPARE(form_->bar->geometry(), QRect(0, 24, 775, 34));
    QCOMPARE(form_->upper->y(), 58);
}

void TestControlBar::hiddenToolBarShrinksToFrame()
{
    form_->toolBar->hide();
    QCOMPARE(form_->bar->height(), 4);
    QCOMPARE(form_->upper->y(), 28);

    form_->toolBar->show();
    QCOMPARE(form_->bar->height(), 34);
    QCOMPARE(form_->upper->y(), 58);
    QCOMPARE(form_->toolBar->pos(), QPoint(11, 2));
}

void TestControlBar::movedToolBarIsPlacedByTheRules_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<QPoint>("placed");
    QTest::newRow("design place") << QPoint(11, 2) << QPoint(11, 2);
    QTest::newRow("further right in the row") << QPoint(300, 2) << QPoint(300, 2);
    QTest::newRow("onto the handle") << QPoint(0, 0) << QPoint(11, 2);
    QTest::newRow("odd top") << QPoint(40, 17) << QPoint(40, 2);
    QTest::newRow("below the only row") << QPoint(120, 62) << QPoint(120, 2);
    QTest::newRow("negative") << QPoint(-5, -5) << QPoint(11, 2);
    QTest::newRow("beyond the right end") << QPoint(2000, 2) << QPoint(575, 2);
}

void TestControlBar::movedToolBarIsPlacedByTheRules()
{
    QFETCH(QPoint, stored);
    QFETCH(QPoint, placed);
    form_->toolBar->move(stored);
    QCOMPARE(form_->toolBar->pos(), placed);
    QCOMPARE(form_->bar->height(), 34);
}

void TestControlBar::bandInSecondRowGrowsContainer()
{
    QWidget *band = form_->AddBand(QRect(222, 2, 100, 26));
    QCOMPARE(form_->bar->height(), 34);

    band->move(11, 32);
    QCOMPARE(band->pos(), QPoint(11, 32));
    QCOMPARE(form_->toolBar->pos(), QPoint(11, 2));
    QCOMPARE(form_->bar->height(), 64);
    QCOMPARE(form_->upper->y(), 88);

    // The first row emptied: the second one moves up into it.
    form_->toolBar->hide();
    QCOMPARE(band->pos(), QPoint(11, 2));
    QCOMPARE(form_->bar->height(), 34);
    QCOMPARE(form_->upper->y(), 58);
}

void TestControlBar::dragByGrabHandle()
{
    QWidget *band = form_->AddBand(QRect(222, 2, 100, 26));
    // The second band's handle lies at x 211..221 of the first row.
    DragInBar(form_->bar, QPoint(215, 15), QPoint(315, 45));
    QCOMPARE(band->pos(), QPoint(322, 32));
    QCOMPARE(form_->bar->height(), 64);
    QCOMPARE(form_->upper->y(), 88);

    // Back up, to the left of the toolbar's end: it goes after the toolbar.
    DragInBar(form_->bar, QPoint(315, 45), QPoint(115, 15));
    QCOMPARE(band->pos(), QPoint(222, 2));
    QCOMPARE(form_->bar->height(), 34);

    // The toolbar alone in its row cannot leave an empty row above it.
    band->hide();
    DragInBar(form_->bar, QPoint(5, 15), QPoint(55, 75));
    QCOMPARE(form_->toolBar->pos(), QPoint(61, 2));
    QCOMPARE(form_->bar->height(), 34);
}

void TestControlBar::pressOutsideHandlesMovesNothing()
{
    DragInBar(form_->bar, QPoint(500, 15), QPoint(300, 60));
    DragInBar(form_->bar, QPoint(5, 31), QPoint(300, 60));
    QCOMPARE(form_->toolBar->pos(), QPoint(11, 2));
    QCOMPARE(form_->bar->height(), 34);
}

void TestControlBar::withoutAutoSizeHeightStays()
{
    form_->bar->SetAutoSize(false);
    form_->toolBar->hide();
    QCOMPARE(form_->bar->height(), 34);
    QCOMPARE(form_->upper->y(), 58);
}

TESK_TEST_MAIN(TestControlBar)
#include "tst_controlbar.moc"
