// An installed program (its folder not writable, or the package manager's /usr) keeps the
// settings in the user's configuration folder, with the same bytes and rules as beside
// the program, and the reports in the user's documents while no local folder is set.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "platform/AppFolders.h"
#include "store/Module1.h"
#include "unitinfo/UnitInfoFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Module1;
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
        UnitCode = QStringLiteral("410101");
        LocalFolder.clear();
        SaveSettings();
        QCOMPARE(LocalFolderOrDefault(), portable.path());

        ProgramFolder = QStringLiteral("/usr/lib/");
        QVERIFY(!AppFolders::isProgramFolderWritable(ProgramFolder));
        QVERIFY(!AppFolders::isProgramFolderWritable(inHome(QStringLiteral("/missing/"))));
        SaveSettings();
        QFile saved(inHome(QStringLiteral("/.config/Vantrel/config.pz")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), portable.readFile(QStringLiteral("config.pz")));

        // The documents folder is made when first needed; the unit file is sought there.
        const QString documents = inHome(QStringLiteral("/Documents/Vantrel/"));
        QVERIFY(!QFileInfo::exists(documents));
        QCOMPARE(LoadSettings(), int(UnitInfoMissing));
        QVERIFY(QFileInfo(documents).isDir());
        QFile unit(documents + QStringLiteral("410101.dw"));
        QVERIFY(unit.open(QIODevice::WriteOnly));
        unit.write(QStringLiteral("<CorpInfo><ReportInfo><ReportUser>张三</ReportUser></ReportInfo>"
                                  "<Basic><Name>郑州市博物馆</Name></Basic></CorpInfo>").toUtf8());
        unit.close();
        QCOMPARE(LoadSettings(), int(SettingsComplete));
        QCOMPARE(UnitInfoFolder(), documents);
        QVERIFY(ui_.texts.isEmpty());
    }

    void unwritableSettingsFolderFailsAsAnySave()
    {
        ProgramFolder = QStringLiteral("/usr/lib/");
        QVERIFY(QFile::remove(inHome(QStringLiteral("/.config/Vantrel/config.pz"))));
        QVERIFY(QDir(inHome(QStringLiteral("/.config"))).removeRecursively());
        QFile blocker(inHome(QStringLiteral("/.config")));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        SaveSettings();
        QCOMPARE(ui_.texts.size(), 1);
        QVERIFY2(ui_.texts.first().startsWith(QStringLiteral("保存参数失败")), qPrintable(ui_.texts.first()));
        ui_.reset();
    }
};

QTEST_MAIN(TestAppFolders)
#include "test_AppFolders.moc"
