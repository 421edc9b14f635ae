// The file types of our own, as Qt's dialogs see them once update-mime-database has
// compiled our definition beside the shared ones (as the package installs it): a saved
// report is a Vantrel report, not the tracker music that shares its extension.
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
// Unit information holds a <ReportInfo> too: it must not pass for a report.
const QByteArray kUnitInfo = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CorpInfo>\n  <ReportInfo>";
} // namespace

class TestFileTypes : public QObject {
    Q_OBJECT
    QTemporaryDir data_;

private slots:
    void initTestCase()
    {
        const QString updater = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        const QString shared = QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml");
        if (updater.isEmpty() || !QFileInfo::exists(shared))
            QSKIP("shared-mime-info is not installed");
        // One database, as installed. (Qt lets a glob in a user's own database hide the
        // same glob of the system's.)
        const QString packages = data_.filePath(QStringLiteral("share/mime/packages/"));
        QVERIFY(QDir().mkpath(packages) && QDir().mkpath(data_.filePath(QStringLiteral("home"))));
        QVERIFY(QFile::copy(shared, packages + QStringLiteral("freedesktop.org.xml")));
        QVERIFY(QFile::copy(QStringLiteral(VANTREL_SOURCE_DIR "/packaging/vantrel-mime.xml"),
                            packages + QStringLiteral("vantrel.xml")));
        // Before the first QMimeDatabase, which reads the data folders once.
        qputenv("XDG_DATA_HOME", QFile::encodeName(data_.filePath(QStringLiteral("home"))));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(data_.filePath(QStringLiteral("share"))));
        QProcess update;
        update.setProcessChannelMode(QProcess::MergedChannels);
        update.start(updater, {data_.filePath(QStringLiteral("share/mime"))});
        QVERIFY(update.waitForFinished(120000));
        // It warns about, and skips, a definition it cannot read: any output is a fault.
        const QByteArray output = update.readAll().trimmed();
        QVERIFY2(update.exitCode() == 0 && output.isEmpty(), output.constData());
    }

    void recognised()
    {
        const QList<std::tuple<const char*, QByteArray, const char*>> files{
            {"a.xm", kSavedReport, "application/x-vantrel-report"},
            {"b.xm", kGb2312Report, "application/x-vantrel-report"},
            {"song.xm", kTrackerModule, "audio/x-xm"},
            {"410101.dw", kUnitInfo, "application/x-vantrel-unit"}};
        QMimeDatabase types;
        for (const auto& [name, bytes, type] : files) {
            QFile file(data_.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
            QCOMPARE(types.mimeTypeForFile(file.fileName()).name(), QLatin1String(type));
        }
        QCOMPARE(types.mimeTypeForData(kUnitInfo).name(), QStringLiteral("application/x-vantrel-unit"));

        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        const QMimeType report = types.mimeTypeForName(QStringLiteral("application/x-vantrel-report"));
        QCOMPARE(report.comment(), QStringLiteral("Vantrel 预算报表"));
        QVERIFY(report.inherits(QStringLiteral("application/xml")));
    }
};

QTEST_GUILESS_MAIN(TestFileTypes)
#include "test_file_types.moc"
