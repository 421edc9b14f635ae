#include "check/ProgressLine.h"

ProgressLine::ProgressLine(FILE* stream)
    : stream_(stream)
{
    started_.start();
}

QString ProgressLine::text(qint64 done, qint64 total, double perSecond, int barWidth)
{
    const int filled = total > 0 ? static_cast<int>(barWidth * done / total) : 0;
    return QStringLiteral("[%1%2] %3/%4 个文件  %5 个/秒")
        .arg(QString(filled, QLatin1Char('#')), QString(barWidth - filled, QLatin1Char('.')))
        .arg(done)
        .arg(total)
        .arg(static_cast<qint64>(perSecond));
}

void ProgressLine::update(qint64 done, qint64 total)
{
    const qint64 now = started_.elapsed();
    if (done < total && now - lastDrawn_ < 100)
        return;
    lastDrawn_ = now;
    const double seconds = std::max<qint64>(now, 1) / 1000.0;
    const QByteArray line = "\r\033[K" + text(done, total, done / seconds).toUtf8();
    std::fputs(line.constData(), stream_);
    std::fflush(stream_);
    shown_ = true;
}

void ProgressLine::clear()
{
    if (!shown_)
        return;
    std::fputs("\r\033[K", stream_);
    std::fflush(stream_);
    shown_ = false;
}
