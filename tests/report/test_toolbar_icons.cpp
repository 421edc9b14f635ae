// The toolbar and window icons are drawn, not scaled up: at 200 % a 16-pixel icon is a
// 32-pixel picture with edges as sharp as at 100 %.
#include "report/ToolbarIcons.h"

#include <QIcon>
#include <QImage>
#include <QTest>

namespace {

// Pixels that are neither transparent nor fully opaque: the blur of an edge.
int softPixels(const QImage& image)
{
    int soft = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = image.pixelColor(x, y).alpha();
            soft += alpha > 0 && alpha < 255;
        }
    }
    return soft;
}

} // namespace

class TestToolbarIcons : public QObject {
    Q_OBJECT
private slots:
    void drawnAtEveryScale_data()
    {
        QTest::addColumn<QIcon>("icon");
        const char* names[] = {"new", "open", "save", "print", "options", "unit information"};
        for (int number = 1; number <= 6; ++number)
            QTest::newRow(names[number - 1]) << ToolbarIcons::image(number);
        QTest::newRow("window") << QIcon(QStringLiteral(":/icons/vantrel.svg"));
    }
    void drawnAtEveryScale()
    {
        QFETCH(QIcon, icon);
        QVERIFY(!icon.isNull());
        const QImage normal = icon.pixmap(QSize(16, 16), 1.0).toImage();
        const QImage doubled = icon.pixmap(QSize(16, 16), 2.0).toImage();
        QCOMPARE(normal.size(), QSize(16, 16));
        QCOMPARE(doubled.size(), QSize(32, 32));
        QVERIFY(softPixels(normal) < 16 * 16);
        // Something is drawn, and a doubled picture scaled up from 16 pixels would have
        // about four times the soft edge pixels; a drawn one about twice.
        const int opaque = [&] {
            int count = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    count += doubled.pixelColor(x, y).alpha() == 255;
            return count;
        }();
        QVERIFY(opaque > 32 * 32 / 8);
        QVERIFY2(softPixels(doubled) <= 3 * softPixels(normal) + 8,
                 qPrintable(QStringLiteral("%1 soft pixels at 200 %, %2 at 100 %")
                                .arg(softPixels(doubled))
                                .arg(softPixels(normal))));
    }

    void otherNumbersHaveNoPicture()
    {
        QVERIFY(ToolbarIcons::image(0).isNull());
        QVERIFY(ToolbarIcons::image(7).isNull());
    }
};

QTEST_MAIN(TestToolbarIcons)
#include "test_toolbar_icons.moc"
