// The file types of our own: a saved report is a Vantrel report, not the tracker music
// that shares its extension; a unit file is unit information. Checked as Qt's dialogs see
// it (QMimeDatabase) and as the desktop does (xdg-mime), after update-mime-database has
// compiled our definition into a fresh data folder.
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kSavedReport = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Report>\n  <ReportInfo>\n";
const QByteArray kGb2312Report = "<?xml version=\"1.0\" encoding=\"GB2312\" standalone=\"yes\"?><Report><ReportInfo>";
const QByteArray kTrackerModule = QByteArray("Extended Module: song") + QByteArray(40, '\0');
const QByteArray kUnitInfo = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CorpInfo>\n  <ReportInfo>";

} // namespace

class TestFileTypes : public QObject {
    Q_OBJECT
    QTemporaryDir dataDirs_;
    QTemporaryDir files_;

    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = files_.filePath(name);
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes);
        return path;
    }

private slots:
    void initTestCase()
    {
        const QString updater = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        const QString shared = QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml");
        if (updater.isEmpty() || !QFileInfo::exists(shared))
            QSKIP("shared-mime-info is not installed");
        // As the package installs it: beside the shared definitions, in one database. (Qt
        // lets a glob in a user's own database hide the same glob of the system's.)
        const QString packages = dataDirs_.filePath(QStringLiteral("share/mime/packages"));
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(QDir().mkpath(dataDirs_.filePath(QStringLiteral("home"))));
        QVERIFY(QFile::copy(shared, packages + QStringLiteral("/freedesktop.org.xml")));
        QVERIFY(QFile::copy(QStringLiteral(VANTREL_SOURCE_DIR "/packaging/vantrel-mime.xml"),
                            packages + QStringLiteral("/vantrel.xml")));
        // Before the first QMimeDatabase, which reads the data folders once.
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataDirs_.filePath(QStringLiteral("home"))));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(dataDirs_.filePath(QStringLiteral("share"))));
        QProcess update;
        update.setProcessChannelMode(QProcess::MergedChannels);
        update.start(updater, {dataDirs_.filePath(QStringLiteral("share/mime"))});
        QVERIFY(update.waitForFinished(120000));
        // It warns about, and skips, a definition it cannot read: any output is a fault.
        const QByteArray output = update.readAll().trimmed();
        QVERIFY2(update.exitCode() == 0 && output.isEmpty(), output.constData());
    }

    void recognised_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("type");
        QTest::newRow("saved report") << "a.xm" << kSavedReport << "application/x-vantrel-report";
        QTest::newRow("report declared GB2312") << "b.xm" << kGb2312Report << "application/x-vantrel-report";
        QTest::newRow("tracker module") << "song.xm" << kTrackerModule << "audio/x-xm";
        QTest::newRow("unit information") << "410101.dw" << kUnitInfo << "application/x-vantrel-unit";
    }
    void recognised()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, type);
        const QString path = file(name, bytes);
        QCOMPARE(QMimeDatabase().mimeTypeForFile(path).name(), type);

        // The desktop's answer, when it asks the shared database (not `file`).
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("mimetype")).isEmpty())
            return;
        QProcess query;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        env.remove(QStringLiteral("KDE_FULL_SESSION"));
        env.remove(QStringLiteral("DESKTOP_SESSION"));
        query.setProcessEnvironment(env);
        query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("filetype"), path});
        QVERIFY(query.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(query.readAllStandardOutput()).trimmed(), type);
    }

    void contentAlone()
    {
        QMimeDatabase types;
        QCOMPARE(types.mimeTypeForData(kSavedReport).name(), QStringLiteral("application/x-vantrel-report"));
        // Unit information holds a <ReportInfo> too: it must not pass for a report.
        QCOMPARE(types.mimeTypeForData(kUnitInfo).name(), QStringLiteral("application/x-vantrel-unit"));
        QCOMPARE(types.mimeTypeForData(QByteArray("<?xml version=\"1.0\"?><Other/>")).name(),
                 QStringLiteral("application/xml"));
    }

    void namedInChinese()
    {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        const QMimeType report = QMimeDatabase().mimeTypeForName(QStringLiteral("application/x-vantrel-report"));
        QVERIFY(report.isValid());
        QCOMPARE(report.comment(), QStringLiteral("Vantrel 预算报表"));
        QVERIFY(report.inherits(QStringLiteral("application/xml")));
        QCOMPARE(report.globPatterns(), QStringList{QStringLiteral("*.xm")});
    }
};

QTEST_GUILESS_MAIN(TestFileTypes)
#include "test_file_types.moc"
