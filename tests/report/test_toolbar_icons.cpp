// The toolbar and window icons are drawn for the size asked, not scaled up: at 200 % a
// 16-pixel icon is a 32-pixel picture (SVG through Qt's SVG icon engine).
#include "report/ToolbarIcons.h"

#include <QIcon>
#include <QImage>
#include <QTest>

class TestToolbarIcons : public QObject {
    Q_OBJECT
private slots:
    void drawnAtEveryScale()
    {
        QList<QIcon> icons{QIcon(QStringLiteral(":/icons/vantrel.svg"))};
        for (int number = 1; number <= 6; ++number)
            icons << ToolbarIcons::image(number);
        for (const QIcon& icon : icons) {
            QCOMPARE(icon.pixmap(QSize(16, 16), 1.0).size(), QSize(16, 16));
            const QImage doubled = icon.pixmap(QSize(16, 16), 2.0).toImage();
            QCOMPARE(doubled.size(), QSize(32, 32));
            int opaque = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    opaque += doubled.pixelColor(x, y).alpha() == 255;
            QVERIFY(opaque > 32 * 32 / 8);
        }
        QVERIFY(ToolbarIcons::image(0).isNull() && ToolbarIcons::image(7).isNull());
    }
};

QTEST_MAIN(TestToolbarIcons)
#include "test_toolbar_icons.moc"
