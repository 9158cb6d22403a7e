#include <QImage>
#include <QList>
#include <QSet>
#include <QSize>
#include <QString>
#include <QtTest>

// The pictures compiled into the program: each must load, have its size, keep its
// background fully transparent and stay within its colours.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureIsWellFormed_data();
    void pictureIsWellFormed();
};

void TestResources::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

void TestResources::pictureIsWellFormed_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    // Either the exact opaque colours allowed, or (when empty) a limit on how many
    // colours the picture has, counting the transparent background as one.
    QTest::addColumn<QList<QRgb>>("allowed");
    QTest::addColumn<int>("maxColours");

    // The program icon uses only the four greys of the Windows 16-colour palette.
    const QList<QRgb> iconColours{qRgb(0xFF, 0xFF, 0xFF), qRgb(0xC0, 0xC0, 0xC0),
                                  qRgb(0x80, 0x80, 0x80), qRgb(0x00, 0x00, 0x00)};
    const QList<QRgb> aboutColours{qRgb(255, 204, 0), qRgb(255, 153, 0),   qRgb(255, 255, 0),
                                   qRgb(204, 102, 0), qRgb(255, 255, 255), qRgb(119, 119, 119),
                                   qRgb(0, 0, 0)};

    QTest::newRow("program icon") << ":/icons/mainicon.xpm" << QSize(32, 32) << iconColours << 0;
    QTest::newRow("MAINICON alias") << ":/MAINICON" << QSize(32, 32) << iconColours << 0;
    for (int i = 0; i <= 6; ++i) {
        const QString path = QStringLiteral(":/images/image%1.xpm").arg(i);
        QTest::newRow(qPrintable(path)) << path << QSize(16, 16) << QList<QRgb>() << 16;
    }
    QTest::newRow("about") << ":/icons/about.xpm" << QSize(32, 32) << aboutColours << 0;
    QTest::newRow("wizard32") << ":/icons/wizard32.xpm" << QSize(32, 32) << QList<QRgb>() << 22;
    QTest::newRow("wizard16") << ":/icons/wizard16.xpm" << QSize(16, 16) << QList<QRgb>() << 8;
}

void TestResources::pictureIsWellFormed()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(QList<QRgb>, allowed);
    QFETCH(int, maxColours);

    const QImage loaded(path);
    QVERIFY2(!loaded.isNull(), qPrintable(path));
    QCOMPARE(loaded.size(), size);
    const QImage image = loaded.convertToFormat(QImage::Format_ARGB32);

    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
        QVERIFY2(qAlpha(image.pixel(corner)) == 0,
                 qPrintable(QStringLiteral("corner %1,%2 is not transparent").arg(corner.x()).arg(corner.y())));

    QSet<QRgb> opaque;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int alpha = qAlpha(pixel);
            QVERIFY2(alpha == 0 || alpha == 255,
                     qPrintable(QStringLiteral("partial alpha %1 at %2,%3").arg(alpha).arg(x).arg(y)));
            if (alpha == 255)
                opaque.insert(pixel);
        }
    }
    QVERIFY2(!opaque.isEmpty(), "picture has no opaque pixels");

    if (!allowed.isEmpty()) {
        for (const QRgb colour : opaque)
            QVERIFY2(allowed.contains(colour),
                     qPrintable(QStringLiteral("colour #%1 is not allowed").arg(colour & RGB_MASK, 6, 16, QLatin1Char('0'))));
    } else {
        QVERIFY2(opaque.size() + 1 <= maxColours,
                 qPrintable(QStringLiteral("%1 colours, at most %2 allowed").arg(opaque.size() + 1).arg(maxColours)));
    }
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
