#include "KilledSaveLoop.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>

void KilledSaveLoop::reportSave(qint64 nanoseconds)
{
    std::printf("%lld\n", static_cast<long long>(nanoseconds));
    std::fflush(stdout);
}

bool KilledSaveLoop::killDuringSave(QProcess& child, int saves, QString* reason)
{
    // Far beyond any start-up and save time; only a hung child reaches it.
    QDeadlineTimer deadline(std::chrono::minutes(2));
    QByteArray pending;
    int reported = 0;
    qint64 longest = 1;
    while (reported < saves) {
        if (!child.canReadLine() && !child.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            *reason = child.state() == QProcess::NotRunning
                          ? QStringLiteral("the saving child stopped with %1").arg(child.exitCode())
                          : QStringLiteral("the saving child reported %1 of %2 saves in time").arg(reported).arg(saves);
            return false;
        }
        while (child.canReadLine()) {
            longest = std::max(longest, child.readLine().trimmed().toLongLong());
            ++reported;
        }
    }
    const quint64 delay = QRandomGenerator::global()->bounded(static_cast<quint64>(2 * longest));
    QThread::usleep(static_cast<unsigned long>(delay / 1000));
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    if (!child.waitForFinished(static_cast<int>(deadline.remainingTime()))) {
        *reason = QStringLiteral("the killed child did not end");
        return false;
    }
    return true;
}
