// Finding and starting the system-information tool, with a scripted registry and launcher.
#include "ScriptedUi.h"
#include "platform/ProgramLauncher.h"
#include "platform/Registry.h"
#include "platform/SystemInfoLauncher.h"
#include "platform/SystemRegistry.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using platform::RegistryRoot;
using platform::SystemInfoLauncher;

namespace {

class FakeRegistry : public platform::Registry {
public:
    QMap<QString, QString> values;   // "key|value" -> text
    QStringList reads;

    bool GetKeyValue(RegistryRoot root, const QString& keyName, const QString& subKeyRef, QString& keyVal) override
    {
        const QString id = keyName + QLatin1Char('|') + subKeyRef;
        reads << id;
        if (root != RegistryRoot::LocalMachine || !values.contains(id)) {
            keyVal.clear();
            return false;
        }
        keyVal = values.value(id);
        return true;
    }
};

class FakeLauncher : public platform::ProgramLauncher {
public:
    QStringList started;
    bool succeeds = true;

    bool start(const QString& path) override
    {
        started << path;
        return succeeds;
    }
};

const QString kFirst = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH");
const QString kSecond = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");
const QString kUnavailable = QStringLiteral("此时系统信息不可用");

} // namespace

class TestSystemInfoLauncher : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ui_.finish(); }

    void startSysInfo_data()
    {
        QTest::addColumn<QString>("firstPath");    // empty: the first location is absent
        QTest::addColumn<bool>("secondPresent");
        QTest::addColumn<bool>("toolFileExists");
        QTest::addColumn<bool>("launchSucceeds");
        QTest::addColumn<QString>("expectedStart");   // "<dir>" stands for the tool folder
        QTest::addColumn<bool>("expectMessage");

        QTest::newRow("nothing registered") << QString() << false << false << true << QString() << true;
        QTest::newRow("first location") << QStringLiteral("/opt/msinfo/msinfo32") << false << false << true
                                        << QStringLiteral("/opt/msinfo/msinfo32") << false;
        QTest::newRow("first wins over second") << QStringLiteral("/opt/msinfo/msinfo32") << true << true << true
                                                << QStringLiteral("/opt/msinfo/msinfo32") << false;
        QTest::newRow("first path not tested for existence") << QStringLiteral("/no/such/tool") << false << false
                                                             << true << QStringLiteral("/no/such/tool") << false;
        QTest::newRow("first fails to start, second not tried") << QStringLiteral("/opt/msinfo/msinfo32") << true
                                                                << true << false
                                                                << QStringLiteral("/opt/msinfo/msinfo32") << true;
        QTest::newRow("second with the tool file") << QString() << true << true << true
                                                   << QStringLiteral("<dir>/MSINFO32.EXE") << false;
        QTest::newRow("second without the tool file") << QString() << true << false << true << QString() << true;
        QTest::newRow("second fails to start") << QString() << true << true << false
                                               << QStringLiteral("<dir>/MSINFO32.EXE") << true;
    }
    void startSysInfo()
    {
        QFETCH(QString, firstPath);
        QFETCH(bool, secondPresent);
        QFETCH(bool, toolFileExists);
        QFETCH(bool, launchSucceeds);
        QFETCH(QString, expectedStart);
        QFETCH(bool, expectMessage);

        QTemporaryDir toolDir;
        const QString folder = QDir::toNativeSeparators(toolDir.path());
        if (toolFileExists) {
            QFile tool(toolDir.filePath(QStringLiteral("MSINFO32.EXE")));
            QVERIFY(tool.open(QIODevice::WriteOnly));
        }
        FakeRegistry registry;
        if (!firstPath.isEmpty())
            registry.values.insert(kFirst, firstPath);
        if (secondPresent)
            registry.values.insert(kSecond, folder);
        FakeLauncher launcher;
        launcher.succeeds = launchSucceeds;

        SystemInfoLauncher(registry, launcher).startSystemInfo(nullptr);

        expectedStart.replace(QStringLiteral("<dir>/"), folder + QDir::separator());
        QCOMPARE(launcher.started, expectedStart.isEmpty() ? QStringList() : QStringList{expectedStart});
        QCOMPARE(ui_.texts, expectMessage ? QStringList{kUnavailable} : QStringList());
        if (!firstPath.isEmpty())
            QCOMPARE(registry.reads, QStringList{kFirst});
        else
            QCOMPARE(registry.reads, (QStringList{kFirst, kSecond}));
    }

    // This system has no registry: one message and nothing started.
    void machineWithoutRegistry()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has a registry");
#else
        QString value = QStringLiteral("left over");
        QVERIFY(!platform::Registry::system().GetKeyValue(RegistryRoot::LocalMachine, SystemInfoLauncher::toolKey(),
                                                          SystemInfoLauncher::toolValue(), value));
        QVERIFY(value.isEmpty());

        FakeLauncher launcher;
        SystemInfoLauncher(platform::Registry::system(), launcher).startSystemInfo(nullptr);
        QVERIFY(launcher.started.isEmpty());
        QCOMPARE(ui_.texts, QStringList{kUnavailable});
#endif
    }

    void valueText_data()
    {
        QTest::addColumn<unsigned long>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("expected");   // "<none>": the caller's text is kept
        const QString path = QStringLiteral("C:\\工具\\msinfo32.exe");
        const QByteArray utf16(reinterpret_cast<const char*>(path.utf16()), path.size() * 2);
        QTest::newRow("string with NUL") << 1ul << utf16 + QByteArray(2, '\0') << path;
        QTest::newRow("string without NUL") << 1ul << utf16 << path;
        QTest::newRow("number") << 4ul << QByteArray("\x02\x0A\x01\x00", 4) << QStringLiteral("&h01A2");
        QTest::newRow("number ff") << 4ul << QByteArray("\xff\x00\x00\x10", 4) << QStringLiteral("&h1000FF");
        QTest::newRow("binary") << 3ul << QByteArray("\x01\x02", 2) << QStringLiteral("<none>");
    }
    void valueText()
    {
        QFETCH(unsigned long, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, expected);
        const auto text = platform::SystemRegistry::valueText(type, data);
        QCOMPARE(text.value_or(QStringLiteral("<none>")), expected);
    }

    // The registry is only ever read: no write or all-access mask in the reader.
    void registryOpenedForReadingOnly()
    {
        QFile source(QStringLiteral(VANTREL_SOURCE_DIR "/src/platform/SystemRegistry.cpp"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray text = source.readAll();
        QVERIFY(text.contains("KEY_READ"));
        for (const char* wide : {"KEY_ALL_ACCESS", "KEY_WRITE", "KEY_SET_VALUE", "0x2003F", "0x2003f",
                                 "RegSetValue", "RegCreateKey", "RegDeleteKey"})
            QVERIFY2(!text.contains(wide), wide);
    }

private:
    ScriptedUi ui_;
};

QTEST_MAIN(TestSystemInfoLauncher)
#include "test_SystemInfoLauncher.moc"
