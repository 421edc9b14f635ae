#pragma once

#include <QString>

class QProcess;

// A child process saves in a loop until the test kills it. The child reports every
// finished save with its duration on standard output; the test waits for a given number
// of saves and then kills within the next two, timed by the child's own pace, so the kills
// land among the saves however fast or slow the machine is.
class KilledSaveLoop {
public:
    // Child side: one finished save that took this long.
    static void reportSave(qint64 nanoseconds);

    // Test side: waits (generously) until the child has reported `saves` saves, waits a
    // random part of the time two of its saves take, and kills it with SIGKILL. False,
    // with the reason, when the child stopped or reported nothing in time.
    static bool killDuringSave(QProcess& child, int saves, QString* reason);
};
