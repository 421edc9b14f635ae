#include "report/PageSizeMemory.h"

#include "core/AtomicFileWriter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

QString PageSizeMemory::key()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const qreal dpi = screen ? screen->logicalDotsPerInch() : 0;
    return QStringLiteral("%1 %2x%3 %4 %5")
        .arg(QCoreApplication::applicationVersion())
        .arg(area.width())
        .arg(area.height())
        .arg(dpi)
        .arg(QApplication::font().toString());
}

QString PageSizeMemory::fileName()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/page-size");
}

QSize PageSizeMemory::recall()
{
    QFile file(fileName());
    if (fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.read(4096)).split(QLatin1Char('\n'));
    if (lines.size() < 2 || lines[0] != key())
        return {};
    const QStringList size = lines[1].split(QLatin1Char('x'));
    bool wide = false;
    bool high = false;
    const QSize remembered(size.value(0).toInt(&wide), size.value(1).toInt(&high));
    return wide && high && remembered.isValid() ? remembered : QSize();
}

void PageSizeMemory::remember(const QSize& size)
{
    const QString name = fileName();
    if (name.isEmpty() || !QDir().mkpath(QFileInfo(name).absolutePath()))
        return;
    // Only a shortcut: a failed write costs the next start some time, nothing else.
    QString reason;
    AtomicFileWriter::write(name, (key() + QStringLiteral("\n%1x%2\n").arg(size.width()).arg(size.height())).toUtf8(),
                            &reason);
}
