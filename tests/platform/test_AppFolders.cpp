// Where settings and reports go: beside a writable program, in the user's own folders
// for an installed one, with the same bytes and rules either way.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "platform/AppFolders.h"
#include "store/Module1.h"
#include "unitinfo/UnitInfoFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Module1;

namespace {

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QByteArray kUnitInfo = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><CorpInfo><ReportInfo>"
                                            "<ReportUser>张三</ReportUser></ReportInfo><Basic><Name>郑州市博物馆</Name>"
                                            "</Basic></CorpInfo>").toUtf8();

} // namespace

class TestAppFolders : public QObject {
    Q_OBJECT
    ScriptedUi* ui_ = nullptr;
    QTemporaryDir* home_ = nullptr;

    QString configFolder() const { return home_->path() + QStringLiteral("/.config/Vantrel/"); }
    QString documentsFolder() const { return home_->path() + QStringLiteral("/Documents/Vantrel/"); }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
        qunsetenv("XDG_CONFIG_HOME");
    }
    void init()
    {
        home_ = new QTemporaryDir;
        qputenv("HOME", home_->path().toLocal8Bit());
        ui_ = new ScriptedUi;
    }
    void cleanup()
    {
        ui_->finish();
        delete ui_;
        delete home_;
    }

    void writableProgramFolderKeepsEverythingBesideIt()
    {
        TempProgramFolder folder;
        QVERIFY(AppFolders::isProgramFolderWritable(folder.path()));
        UnitCode = QStringLiteral("410101");
        SaveSettings();
        QVERIFY(QFile::exists(folder.file(QStringLiteral("config.pz"))));
        QCOMPARE(LocalFolderOrDefault(), folder.path());
        QCOMPARE(UnitInfoFolder(), folder.path());
        // Nothing in the user's folders, and no probe file left behind.
        QVERIFY(!QFileInfo::exists(home_->path() + QStringLiteral("/.config")));
        QVERIFY(!QFileInfo::exists(home_->path() + QStringLiteral("/Documents")));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("write-test")),
                 QStringList());
    }

    void installedProgramUsesTheUsersFolders()
    {
        // Written by the same rules: the portable file's bytes are the reference.
        TempProgramFolder portable;
        UnitCode = QStringLiteral("410101");
        LocalFolder.clear();
        SaveSettings();
        const QByteArray portableBytes = portable.readFile(QStringLiteral("config.pz"));

        // The package manager's folder is never the program's to write, not even as root.
        ProgramFolder = QStringLiteral("/usr/lib/");
        QVERIFY(!AppFolders::isProgramFolderWritable(ProgramFolder));
        QCOMPARE(AppFolders::settingsFolder(ProgramFolder), configFolder());
        SaveSettings();
        QCOMPARE(read(configFolder() + QStringLiteral("config.pz")), portableBytes);
        QVERIFY(ui_->texts.isEmpty());

        // The documents folder is made when first needed, and the unit file is sought there.
        QVERIFY(!QFileInfo::exists(documentsFolder()));
        UnitCode.clear();
        QCOMPARE(LoadSettings(), int(UnitInfoMissing));
        QCOMPARE(UnitCode, QStringLiteral("410101"));
        QVERIFY(QFileInfo(documentsFolder()).isDir());
        write(documentsFolder() + QStringLiteral("410101.dw"), kUnitInfo);
        QCOMPARE(LoadSettings(), int(SettingsComplete));
        QCOMPARE(UnitInfoFolder(), documentsFolder());

        // A local folder of the user's own choice still wins.
        LocalFolder = home_->path() + QStringLiteral("/报表/");
        QCOMPARE(LocalFolderOrDefault(), LocalFolder);
    }

    void unwritableSettingsFolderFailsAsAnySave()
    {
        ProgramFolder = QStringLiteral("/usr/lib/");
        // A file where the configuration folder should be: the save fails and says so.
        write(home_->path() + QStringLiteral("/.config"), "not a folder");
        UnitCode = QStringLiteral("410101");
        SaveSettings();
        QCOMPARE(ui_->texts.size(), 1);
        QVERIFY2(ui_->texts.first().startsWith(QStringLiteral("保存参数失败")), qPrintable(ui_->texts.first()));
        ui_->reset();
    }

    void folderThatRefusesFilesIsNotWritable()
    {
        QVERIFY(!AppFolders::isProgramFolderWritable(home_->path() + QStringLiteral("/missing/")));
        if (geteuid() == 0)
            QSKIP("root writes into any folder whatever its mode; the installed-program test covers it");
        TempProgramFolder folder;
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        const bool writable = AppFolders::isProgramFolderWritable(folder.path());
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!writable);
    }
};

QTEST_MAIN(TestAppFolders)
#include "test_AppFolders.moc"
