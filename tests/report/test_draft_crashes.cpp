// Nothing typed more than a few seconds before the end is lost, whatever the end was: a
// child program types into the report form and is killed with SIGKILL, at moments spread
// over its own draft writes; what the next start finds recovers everything typed up to
// 3 s before the kill, and no damaged draft is ever taken for a good one.
#include "NoUi.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "core/BudgetReport.h"
#include "report/DraftKeeper.h"
#include "report/MainWindow.h"
#include "report/ReportController.h"
#include "report/ReportForm.h"
#include "ui/UserInterface.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <thread>

namespace {

const char kChildFolder[] = "VANTREL_DRAFT_CHILD";
constexpr int kKills = 100;
constexpr int kLanes = 4;
// What the child must not lose: everything typed this long before it died.
constexpr qint64 kGraceNs = 3'000'000'000;

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

QString tokens(int from, int to)
{
    QString text;
    for (int n = from; n <= to; ++n)
        text += QStringLiteral("k%1;").arg(n);
    return text;
}

// The child: a new report, then a token typed into the project name every 50 ms until it
// is killed. It says when it typed what, and when drafts start and end.
int typeUntilKilled(int argc, char** argv)
{
    QApplication app(argc, argv);
    NoUi quiet;
    ui::install(&quiet);
    Settings settings(qEnvironmentVariable(kChildFolder));
    if (settings.load() != Settings::State::Complete)
        return 2;
    MainWindow window(settings);
    window.start();
    QLineEdit* name = window.form()->lineEdit(QStringLiteral("projectName"));
    DraftKeeper& drafts = window.controller()->drafts();
    QObject::connect(&drafts, &DraftKeeper::draftStarted, [] {
        std::printf("S\n");
        std::fflush(stdout);
    });
    QObject::connect(&drafts, &DraftKeeper::draftWritten, [](qint64 nanoseconds) {
        std::printf("D %lld\n", static_cast<long long>(nanoseconds));
        std::fflush(stdout);
    });
    int typed = 0;
    QTimer typing;
    QObject::connect(&typing, &QTimer::timeout, [&] {
        QTest::keyClicks(name, tokens(typed + 1, typed + 1));
        ++typed;
        std::printf("T %d %lld\n", typed, static_cast<long long>(monotonicNs()));
        std::fflush(stdout);
    });
    typing.start(50);
    return app.exec();
}

// One lane of kills: its own program folder and state folder, rounds one after another.
class Lane {
public:
    Lane(const QString& programFolder, const QString& stateFolder, int rounds)
        : programFolder_(programFolder), stateFolder_(stateFolder), rounds_(rounds)
    {
    }

    void run()
    {
        for (int round = 0; round < rounds_ && failure.isEmpty(); ++round)
            killOnce(round);
    }

    QString failure;
    int recovered = 0;    // rounds in which tokens older than the grace were recovered
    int duringWrites = 0; // kills sent while a draft was being written

private:
    void killOnce(int round)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildFolder), programFolder_);
        env.insert(QStringLiteral("XDG_STATE_HOME"), stateFolder_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        if (!child.waitForStarted()) {
            failure = QStringLiteral("the child did not start");
            return;
        }
        // Typing goes on for a little more than the grace, then the kill comes: on odd
        // rounds while a draft is being written, on even ones at a random moment.
        const qint64 typingNs = kGraceNs + qint64(QRandomGenerator::global()->bounded(1500)) * 1'000'000;
        std::vector<qint64> typedAt{0};
        qint64 longestWrite = 1'000'000;
        bool writing = false;
        bool killed = false;
        qint64 killedAt = 0;
        const QDeadlineTimer deadline(std::chrono::minutes(2));
        while (!killed) {
            if (!child.canReadLine() && !child.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 0)))) {
                failure = QStringLiteral("round %1: the child %2").arg(round).arg(
                    child.state() == QProcess::NotRunning ? QStringLiteral("ended with %1").arg(child.exitCode())
                                                          : QStringLiteral("went quiet"));
                child.kill();
                child.waitForFinished();
                return;
            }
            while (child.canReadLine() && !killed) {
                const QList<QByteArray> line = child.readLine().trimmed().split(' ');
                if (line[0] == "T")
                    typedAt.push_back(line.value(2).toLongLong());
                else if (line[0] == "S")
                    writing = true;
                else if (line[0] == "D") {
                    writing = false;
                    longestWrite = std::max(longestWrite, line.value(1).toLongLong());
                }
                const bool typedLongEnough = typedAt.size() > 1 && monotonicNs() - typedAt[1] >= typingNs;
                if (!typedLongEnough || (round % 2 == 1 && !writing))
                    continue;
                // Within the write just started, as long as the longest one took.
                if (round % 2 == 1)
                    QThread::usleep(static_cast<unsigned long>(QRandomGenerator::global()->bounded(longestWrite) / 1000));
                killedAt = monotonicNs();
                ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
                duringWrites += writing ? 1 : 0;
                killed = true;
            }
        }
        child.waitForFinished();
        // Tokens the child typed before it died are in the pipe still.
        for (const QByteArray& rest : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> line = rest.trimmed().split(' ');
            if (line[0] == "T")
                typedAt.push_back(line.value(2).toLongLong());
        }
        int mustHave = 0;
        while (mustHave + 1 < int(typedAt.size()) && typedAt[size_t(mustHave + 1)] <= killedAt - kGraceNs)
            ++mustHave;
        check(round, mustHave, int(typedAt.size()) - 1);
    }

    // What the next start finds: the child's one draft, whole, with every token typed
    // before the grace and none that was never typed.
    void check(int round, int mustHave, int typed)
    {
        DraftKeeper next(stateFolder_ + QStringLiteral("/Vantrel/recovery/"), [] { return DraftKeeper::Snapshot(); });
        const QList<DraftKeeper::LeftBehind> found = next.takeLeftBehind();
        for (const DraftKeeper::LeftBehind& left : found) {
            if (!left.draft)
                failure = QStringLiteral("round %1: a damaged draft").arg(round);
        }
        if (failure.isEmpty() && found.size() > 1)
            failure = QStringLiteral("round %1: %2 drafts").arg(round).arg(found.size());
        if (failure.isEmpty() && mustHave > 0 && found.isEmpty())
            failure = QStringLiteral("round %1: no draft, %2 tokens typed in time").arg(round).arg(mustHave);
        if (failure.isEmpty() && !found.isEmpty()) {
            BudgetReport report;
            const QString name =
                report.loadBytes(found[0].draft->report, found[0].file).ok ? report.value("projectName") : QString();
            if (!name.startsWith(tokens(1, mustHave)) || !tokens(1, typed).startsWith(name))
                failure = QStringLiteral("round %1: the draft holds \"%2\", %3 tokens typed in time")
                              .arg(round).arg(name.right(40)).arg(mustHave);
            else if (mustHave > 0)
                ++recovered;
        }
        for (const DraftKeeper::LeftBehind& left : found)
            next.deleteLeftBehind(left.file);
    }

    QString programFolder_;
    QString stateFolder_;
    int rounds_;
};

} // namespace

class TestDraftCrashes : public QObject {
    Q_OBJECT
private slots:
    void killedWhileTypingLosesNothingOlderThanThreeSeconds()
    {
        std::vector<std::unique_ptr<TempProgramFolder>> folders;
        std::vector<std::unique_ptr<Lane>> lanes;
        for (int i = 0; i < kLanes; ++i) {
            folders.push_back(std::make_unique<TempProgramFolder>());
            folders.back()->writeCompleteSettings();
            lanes.push_back(std::make_unique<Lane>(folders.back()->path(), folders.back()->file(QStringLiteral("state")),
                                                   kKills / kLanes));
        }
        std::vector<std::thread> threads;
        for (auto& lane : lanes)
            threads.emplace_back([&lane] { lane->run(); });
        for (std::thread& thread : threads)
            thread.join();
        int recovered = 0;
        int duringWrites = 0;
        for (const auto& lane : lanes) {
            QVERIFY2(lane->failure.isEmpty(), qPrintable(lane->failure));
            recovered += lane->recovered;
            duringWrites += lane->duringWrites;
        }
        // The kills really came after drafts, and while they were written.
        QCOMPARE(recovered, kKills);
        QVERIFY2(duringWrites > 0, "no kill landed in a draft write");
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kChildFolder))
        return typeUntilKilled(argc, argv);
    QApplication app(argc, argv);
    TestDraftCrashes test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_draft_crashes.moc"
