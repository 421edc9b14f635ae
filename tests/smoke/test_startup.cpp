// The real program, copied with its templates into a folder of its own, starts and shows
// its first window there — with no settings and with complete ones — and touches no file.
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
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
