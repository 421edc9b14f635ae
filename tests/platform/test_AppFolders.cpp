// An installed program (its folder not writable, or the package manager's /usr) keeps the
// settings in the user's configuration folder, with the same bytes and rules as beside
// the program, and the reports in the user's documents while no local folder is set.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "platform/AppFolders.h"
#include "TestDocuments.h"
#include "store/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace testdoc;
using namespace xml;

class TestAppFolders : public QObject {
    Q_OBJECT
    QTemporaryDir home_;
    ScriptedUi ui_;

    QString inHome(const QString& path) const { return home_.path() + path; }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
        qunsetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home_.path()));
    }

    void installedProgramUsesTheUsersFolders()
    {
        TempProgramFolder portable;
        Settings& settings = portable.settings;
        settings.unitCode = QStringLiteral("410101");
        settings.localFolder.clear();
        QVERIFY(settings.save(nullptr));
        QCOMPARE(settings.localFolderOrDefault(), portable.path());

        settings.programFolder = QStringLiteral("/usr/lib/");
        QVERIFY(!AppFolders::isProgramFolderWritable(settings.programFolder));
        QVERIFY(!AppFolders::isProgramFolderWritable(inHome(QStringLiteral("/missing/"))));
        QVERIFY(settings.save(nullptr));
        QFile saved(inHome(QStringLiteral("/.config/Vantrel/config.pz")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), portable.readFile(QStringLiteral("config.pz")));

        // The documents folder is made when first needed; the unit file is sought there.
        const QString documents = inHome(QStringLiteral("/Documents/Vantrel/"));
        QVERIFY(!QFileInfo::exists(documents));
        QVERIFY(settings.load() == Settings::State::UnitInfoMissing);
        QVERIFY(QFileInfo(documents).isDir());
        QFile unit(documents + QStringLiteral("410101.dw"));
        QVERIFY(unit.open(QIODevice::WriteOnly));
        unit.write(QStringLiteral("<CorpInfo><ReportInfo><ReportUser>张三</ReportUser></ReportInfo>"
                                  "<Basic><Name>郑州市博物馆</Name></Basic></CorpInfo>").toUtf8());
        unit.close();
        QVERIFY(settings.load() == Settings::State::Complete);
        QCOMPARE(settings.localFolderOrDefault(), documents);
        QVERIFY(ui_.texts.isEmpty());
    }

    void unwritableSettingsFolderFailsAsAnySave()
    {
        Settings settings(QStringLiteral("/usr/lib/"));
        settings.unitCode = QStringLiteral("410101");
        QVERIFY(QFile::remove(inHome(QStringLiteral("/.config/Vantrel/config.pz"))));
        QVERIFY(QDir(inHome(QStringLiteral("/.config"))).removeRecursively());
        QFile blocker(inHome(QStringLiteral("/.config")));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        QString error;
        QVERIFY(!settings.save(&error));
        QVERIFY(!error.isEmpty());
        QVERIFY(ui_.texts.isEmpty()); // the window that asked for the save tells the clerk
    }
};

QTEST_MAIN(TestAppFolders)
#include "test_AppFolders.moc"
