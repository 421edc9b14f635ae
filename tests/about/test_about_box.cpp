// The about box: its texts, its keys and its system-information button.
#include "ScriptedUi.h"
#include "about/AboutBox.h"
#include "platform/ProgramLauncher.h"
#include "platform/Registry.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

class CountingLauncher : public platform::ProgramLauncher {
public:
    QStringList started;
    bool start(const QString& path) override
    {
        started << path;
        return true;
    }
};

class OneValueRegistry : public platform::Registry {
public:
    bool GetKeyValue(platform::RegistryRoot, const QString& keyName, const QString&, QString& keyVal) override
    {
        keyVal = keyName.endsWith(QLatin1String("MSINFO")) ? QStringLiteral("/opt/tool") : QString();
        return !keyVal.isEmpty();
    }
};

bool hasChinese(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff; });
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ui_.finish(); }

    void texts()
    {
        AboutBox about;
        ui_.answerModal([](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("关于 Vantrel"));
            d->hide();
        });
        ui::current().runModal(&about);
        QCOMPARE(ui_.modalTitles, QStringList{QStringLiteral("关于 Vantrel")});
        const auto label = [&](const char* name) { return about.findChild<QLabel*>(QLatin1String(name)); };
        QCOMPARE(label("lblVersion")->text(), QStringLiteral("版本 1.1.1"));
        QCOMPARE(label("lblTitle")->text(), QStringLiteral("Vantrel"));
        for (const char* name : {"lblDescription", "lblDisclaimer"}) {
            QVERIFY2(hasChinese(label(name)->text()), name);
            QVERIFY(label(name)->wordWrap());
        }
        QVERIFY(label("lblDisclaimer")->text() != label("lblDescription")->text());
        QVERIFY(!label("picIcon")->pixmap().isNull());
        QVERIFY(about.findChild<QFrame*>(QStringLiteral("Line1(0)")));
        QVERIFY(about.findChild<QFrame*>(QStringLiteral("Line1(1)")));
        QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("确定"));
        QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(), QStringLiteral("系统信息(&S)..."));
    }

    void keysClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void keysClose()
    {
        QFETCH(int, key);
        AboutBox about;
        about.show();
        QVERIFY(about.isVisible());
        QTest::keyClick(&about, Qt::Key(key));
        QVERIFY(!about.isVisible());
        QVERIFY(ui_.texts.isEmpty());
    }

    void okButtonCloses()
    {
        AboutBox about;
        about.show();
        QSignalSpy accepted(&about, &QDialog::accepted);
        about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QVERIFY(!about.isVisible());
        QCOMPARE(accepted.count(), 1);
    }

    // No registry on this machine: one message, nothing started, the box stays open.
    void sysInfoWithoutRegistry()
    {
        CountingLauncher launcher;
        AboutBox about;
        about.setSystemInfoLauncher(platform::SystemInfoLauncher(platform::Registry::system(), launcher));
        about.show();
        about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
#ifndef Q_OS_WIN
        QCOMPARE(ui_.texts, QStringList{QStringLiteral("此时系统信息不可用")});
        QVERIFY(launcher.started.isEmpty());
#endif
        QVERIFY(about.isVisible());
    }

    void sysInfoButtonUsesTheRegistry()
    {
        OneValueRegistry registry;
        CountingLauncher launcher;
        AboutBox about;
        about.setSystemInfoLauncher(platform::SystemInfoLauncher(registry, launcher));
        about.show();
        about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        QCOMPARE(launcher.started, QStringList{QStringLiteral("/opt/tool")});
        QVERIFY(ui_.texts.isEmpty());
        QVERIFY(about.isVisible());
    }

private:
    ScriptedUi ui_;
};

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
