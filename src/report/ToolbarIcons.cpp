#include "report/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace ToolbarIcons {

namespace {

const QColor kOutline(60, 60, 60);

void drawNew(QPainter& p)
{
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(QPolygonF{{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}});
    p.setPen(QPen(QColor(150, 170, 200), 1));
    for (double y : {7.5, 9.5, 11.5})
        p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
}

void drawOpen(QPainter& p)
{
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(235, 190, 70));
    p.drawPolygon(QPolygonF{{1.5, 3.5}, {6.5, 3.5}, {7.5, 5.0}, {13.5, 5.0}, {13.5, 13.5}, {1.5, 13.5}});
    p.setBrush(QColor(250, 215, 110));
    p.drawPolygon(QPolygonF{{3.5, 7.5}, {15.0, 7.5}, {13.5, 13.5}, {1.5, 13.5}});
}

void drawSave(QPainter& p)
{
    p.setPen(QPen(QColor(30, 60, 120), 1));
    p.setBrush(QColor(60, 110, 190));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(200, 210, 225));
    p.drawRect(QRectF(4.0, 9.5, 8, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 60, 120));
    p.drawRect(QRectF(9, 2.5, 1.5, 3));
}

void drawPrint(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 170, 175));
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
    p.setPen(QPen(QColor(140, 140, 140), 1));
    p.drawLine(QPointF(6, 11.5), QPointF(10, 11.5));
    p.drawLine(QPointF(6, 13), QPointF(9, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 170, 60));
    p.drawEllipse(QPointF(12.5, 7.5), 0.9, 0.9);
}

void drawOptions(QPainter& p)
{
    // A cog: eight teeth round a wheel with a hole.
    const QPointF centre(8, 8);
    QPainterPath cog;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double angle = (i - 0.5) * M_PI * 2 / (teeth * 4);
        const double radius = (i % 4 == 1 || i % 4 == 2) ? 7.2 : 5.2;
        const QPointF point(centre.x() + radius * qCos(angle), centre.y() + radius * qSin(angle));
        if (i == 0)
            cog.moveTo(point);
        else
            cog.lineTo(point);
    }
    cog.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(centre, 2.3, 2.3);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(150, 155, 165));
    p.drawPath(cog.subtracted(hole));
}

void drawUnitInfo(QPainter& p)
{
    // A museum front: pediment, columns and steps.
    p.setPen(QPen(QColor(110, 70, 30), 1));
    p.setBrush(QColor(200, 150, 90));
    p.drawPolygon(QPolygonF{{8, 1.0}, {15, 5.5}, {1, 5.5}});
    p.setBrush(QColor(235, 215, 180));
    for (double x : {2.5, 6.5, 10.5})
        p.drawRect(QRectF(x, 6.5, 2.5, 6));
    p.setBrush(QColor(200, 150, 90));
    p.drawRect(QRectF(1.5, 12.5, 13, 2));
}

} // namespace

QIcon image(int number)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (number) {
    case 1: drawNew(painter); break;
    case 2: drawOpen(painter); break;
    case 3: drawSave(painter); break;
    case 4: drawPrint(painter); break;
    case 5: drawOptions(painter); break;
    case 6: drawUnitInfo(painter); break;
    default: break;
    }
    painter.end();
    return QIcon(picture);
}

} // namespace ToolbarIcons
