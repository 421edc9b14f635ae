// The real program, copied with its templates into a folder of its own, starts and shows
// its first window there — with no settings and with complete ones — and touches no file.
#include "TempProgramFolder.h"
#include "report/DraftKeeper.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return files;
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void startsAnywhere_data()
    {
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("firstWindow");
        QTest::newRow("empty folder") << false << QString();
        QTest::newRow("complete settings") << true << QStringLiteral("Vantrel - 未命名");
    }
    void startsAnywhere()
    {
        QFETCH(bool, complete);
        QFETCH(QString, firstWindow);
        QTemporaryDir dir;
        const QString folder = dir.path();
        const QDir build(QStringLiteral(VANTREL_BINARY_DIR));
        // The program with its test probe, under the program's own name.
        QVERIFY(QFile::copy(build.filePath(QStringLiteral("vantrel-probed")), folder + QStringLiteral("/vantrel")));
        for (const char* name : {"report1.tpl", "report1.tps", "corpinfo.tpl", "corpinfo.tps"})
            QVERIFY(QFile::copy(build.filePath(QLatin1String(name)), folder + QLatin1Char('/') + QLatin1String(name)));
        if (complete) {
            write(folder + QStringLiteral("/config.pz"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Config><CorpID>410101</CorpID>"
                  "<ServerPass/><ServerUrl/><LocalPath/><ReportUser/></Config>");
            write(folder + QStringLiteral("/410101.dw"),
                  QStringLiteral("<CorpInfo><ReportInfo><ReportUser>张三</ReportUser></ReportInfo>"
                                 "<Basic><Name>郑州市博物馆</Name></Basic></CorpInfo>").toUtf8());
        }
        const auto before = snapshot(folder);

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VANTREL_PROBE_FIRST_WINDOW"), QStringLiteral("report"));
        program.setProcessEnvironment(env);
        // Started from elsewhere: the program must find its files beside itself.
        program.setWorkingDirectory(QDir::tempPath());
        program.start(folder + QStringLiteral("/vantrel"), {});
        QVERIFY(program.waitForStarted());

        // Polled until the probe line arrives, however slow the start; a hang ends at the deadline.
        QByteArray errors;
        const QDeadlineTimer deadline(std::chrono::minutes(2));
        while (!errors.contains("vantrel-first-window:") && !deadline.hasExpired()
               && program.state() == QProcess::Running) {
            program.waitForReadyRead(100);
            errors += program.readAllStandardError();
        }
        errors += program.readAllStandardError();
        QVERIFY2(errors.contains("vantrel-first-window:"), errors.constData());
        if (!firstWindow.isEmpty())
            QVERIFY2(errors.contains(("vantrel-first-window: " + firstWindow).toUtf8()), errors.constData());

        // Still running a few seconds later: no crash behind the first window.
        QVERIFY(!program.waitForFinished(3000));
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        program.waitForFinished();
        QCOMPARE(snapshot(folder), before);
    }

    // Started with a report to open and a draft a crashed program left: the draft is
    // offered first, restored, and the named report then asks as Open always asks.
    void offersDraftsBeforeTheNamedReport()
    {
        TempProgramFolder folder;
        folder.writeCompleteSettings();
        QVERIFY(QFile::copy(QStringLiteral(VANTREL_BINARY_DIR "/vantrel-probed"), folder.file(QStringLiteral("vantrel"))));
        const QString state = folder.file(QStringLiteral("state"));
        {
            // What a program that died left: a draft of a report never saved.
            DraftKeeper crashed(state + QStringLiteral("/Vantrel/recovery/"), [&folder] {
                DraftKeeper::Snapshot snapshot;
                snapshot.values.setValue(QStringLiteral("projectName"), QStringLiteral("草稿中的项目"));
                snapshot.templatePath = folder.file(QStringLiteral("report1.tpl"));
                return snapshot;
            });
            crashed.edited();
            crashed.flush();
            QVERIFY(QFile::exists(crashed.draftFile()));
        }
        const QString named = folder.file(QStringLiteral("named.xm"));
        QVERIFY(QFile::copy(folder.file(QStringLiteral("report1.tpl")), named));

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_STATE_HOME"), state);
        env.insert(QStringLiteral("VANTREL_PROBE_SCRIPT"), QStringLiteral("message;message"));
        program.setProcessEnvironment(env);
        program.start(folder.file(QStringLiteral("vantrel")), {named});
        QVERIFY(program.waitForStarted());
        QByteArray errors;
        const QDeadlineTimer deadline(std::chrono::minutes(2));
        while (!errors.contains("vantrel-probe: done") && !deadline.hasExpired()
               && program.state() == QProcess::Running) {
            program.waitForReadyRead(100);
            errors += program.readAllStandardError();
        }
        program.kill();
        program.waitForFinished();
        const QList<QByteArray> messages = [&errors] {
            QList<QByteArray> found;
            for (const QByteArray& line : errors.split('\n'))
                if (line.startsWith("vantrel-message: "))
                    found << line.mid(17);
            return found;
        }();
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[0].startsWith("发现未保存的报表：草稿中的项目（"), errors.constData());
        QCOMPARE(QString::fromUtf8(messages[1]), QStringLiteral("当前报表还未保存，确定打开其他报表吗？"));
        QVERIFY2(errors.contains(("vantrel-window: Vantrel - " + named).toUtf8()), errors.constData());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
