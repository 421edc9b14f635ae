// config.pz, the start-up classification and the two small checks.
#include "Charset.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "TestDocuments.h"
#include "store/Settings.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace testdoc;
using namespace xml;

namespace {
const QString kNotice = QStringLiteral("单位编号由省文物局统一编制，请按省文物局下发的编号认真填写");

QByteArray configFile(const QString& corpId, const QString& localPath, const char* extra = "")
{
    return encodeAs(QStringLiteral("<?xml version=\"1.0\" encoding=\"GB2312\" standalone=\"yes\"?>"
                                   "<Config><CorpID>%1</CorpID><ServerPass>secret</ServerPass><ServerUrl>http://x</ServerUrl>"
                                   "<LocalPath>%2</LocalPath><ReportUser>李四</ReportUser>%3</Config>")
                        .arg(corpId, localPath, QLatin1String(extra)),
                    "GBK");
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    ScriptedUi* ui_ = nullptr;

private slots:
    void init() { ui_ = new ScriptedUi; }
    void cleanup()
    {
        ui_->finish();
        delete ui_;
    }

    void savedBytesAreTheTemplateInGb2312()
    {
        TempProgramFolder folder;
        folder.settings.unitCode = QStringLiteral(" 410101 ");
        folder.settings.localFolder = QStringLiteral("/home/文物/报表/");
        QVERIFY(folder.settings.save(nullptr));
        const QByteArray expected = encodeAs(
            QStringLiteral("<?xml version=\"1.0\" encoding=\"GB2312\" standalone=\"yes\"?><Config><CorpID>410101</CorpID>"
                           "<ServerPass/><ServerUrl/><LocalPath>/home/文物/报表/</LocalPath><ReportUser/></Config>"),
            "GB2312");
        QCOMPARE(folder.readFile(QStringLiteral("config.pz")), expected);
        QVERIFY(ui_->texts.isEmpty());
    }

    void roundTripKeepsFolderAndRareCharacters()
    {
        TempProgramFolder folder;
        const QString local = folder.path() + QStringLiteral("镕𠀀资料") + folderSeparator();
        folder.settings.unitCode = QStringLiteral("41镕01𠀀");
        folder.settings.localFolder = local;
        QVERIFY(folder.settings.save(nullptr));
        Settings read(folder.path());
        QVERIFY(read.load() == Settings::State::UnitInfoMissing);
        QCOMPARE(read.unitCode, QStringLiteral("41镕01𠀀"));
        QCOMPARE(read.localFolder, local);
    }

    void existingExtrasAreWrittenBackEmpty()
    {
        TempProgramFolder folder;
        folder.writeFile(QStringLiteral("config.pz"), configFile(QStringLiteral("410101"), QStringLiteral("/data")));
        QVERIFY(folder.settings.load() == Settings::State::UnitInfoMissing);
        QCOMPARE(folder.settings.localFolder, QStringLiteral("/data") + folderSeparator());
        QVERIFY(folder.settings.save(nullptr));
        const QString text = decodeFrom(folder.readFile(QStringLiteral("config.pz")), "GB2312");
        QVERIFY(text.contains(QStringLiteral("<ServerPass/><ServerUrl/><LocalPath>/data/</LocalPath><ReportUser/>")));
        QVERIFY(!text.contains(QStringLiteral("secret")));
    }

    void saveFailureIsReported()
    {
        TempProgramFolder folder;
        // A program folder that cannot be written sends the settings to the user's own
        // folder; here the file itself cannot be replaced: a folder stands in its way.
        QVERIFY(QDir().mkpath(folder.file(QStringLiteral("config.pz"))));
        folder.settings.unitCode = QStringLiteral("410101");
        QString error;
        QVERIFY(!folder.settings.save(&error));
        QVERIFY(error.startsWith(QStringLiteral("无法保存指定文件") + folder.path() + QStringLiteral("config.pz\\n")));
    }

    void classification_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("unitFile");
        QTest::addColumn<int>("expected");
        const QByteArray complete = "<CorpInfo><Basic><Name>博物馆</Name></Basic><ReportInfo><ReportUser>张三</ReportUser></ReportInfo></CorpInfo>";
        QTest::newRow("no config") << QByteArray() << complete << 0;
        QTest::newRow("broken config") << QByteArray("<Config>") << complete << 0;
        QTest::newRow("empty unit code") << configFile(QString(), QString()) << complete << 0;
        QTest::newRow("unit code with a path") << configFile(QStringLiteral("../x12"), QString()) << complete << 0;
        QTest::newRow("unit code with a colon") << configFile(QStringLiteral("a:b123"), QString()) << complete << 0;
        QTest::newRow("no unit file") << configFile(QStringLiteral("410101"), QString()) << QByteArray() << -1;
        QTest::newRow("unit file broken") << configFile(QStringLiteral("410101"), QString()) << QByteArray("<CorpInfo>") << -1;
        QTest::newRow("no name") << configFile(QStringLiteral("410101"), QString())
                                 << QByteArray("<CorpInfo><Basic><Name/></Basic><ReportInfo><ReportUser>张三</ReportUser></ReportInfo></CorpInfo>") << -1;
        QTest::newRow("no filler") << configFile(QStringLiteral("410101"), QString())
                                   << QByteArray("<CorpInfo><Basic><Name>馆</Name></Basic></CorpInfo>") << -1;
        QTest::newRow("complete") << configFile(QStringLiteral("410101"), QString()) << complete << 1;
    }
    void classification()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, unitFile);
        QFETCH(int, expected);
        TempProgramFolder folder;
        if (!config.isEmpty())
            folder.writeFile(QStringLiteral("config.pz"), config);
        if (!unitFile.isEmpty()) {
            // Same name whatever the code, so a unit file exists even when the code is refused.
            for (const QString& code : {QStringLiteral("410101"), QStringLiteral("x12")})
                folder.writeFile(code + QStringLiteral(".dw"), unitFile);
        }
        const Settings::State states[] = {Settings::State::UnitInfoMissing, Settings::State::SettingsMissing,
                                          Settings::State::Complete};
        QVERIFY(folder.settings.load() == states[expected + 1]);
        if (expected == 1) {
            QCOMPARE(folder.settings.unitName, QStringLiteral("博物馆"));
            QCOMPARE(folder.settings.reportUser, QStringLiteral("张三"));
        }
    }

    void unitFileFollowsTheLocalFolder()
    {
        TempProgramFolder folder;
        QDir(folder.path()).mkdir(QStringLiteral("本地"));
        const QString local = folder.path() + QStringLiteral("本地");
        folder.writeFile(QStringLiteral("config.pz"), configFile(QStringLiteral("410101"), local));
        QFile unit(local + folderSeparator() + QStringLiteral("410101.dw"));
        QVERIFY(unit.open(QIODevice::WriteOnly));
        unit.write("<CorpInfo><Basic><Name>馆</Name></Basic><ReportInfo><ReportUser>王</ReportUser></ReportInfo></CorpInfo>");
        unit.close();
        QVERIFY(folder.settings.load() == Settings::State::Complete);
        // An earlier early stop keeps the values already read.
        folder.settings.unitName = QStringLiteral("旧");
        QFile::remove(folder.file(QStringLiteral("config.pz")));
        QVERIFY(folder.settings.load() == Settings::State::SettingsMissing);
        QCOMPARE(folder.settings.unitCode, QStringLiteral("410101"));
        QCOMPARE(folder.settings.unitName, QStringLiteral("旧"));
    }

    void fileAttributes()
    {
        TempProgramFolder folder;
        QCOMPARE(QueryFileAttributes(QString()), short(-1));
        QCOMPARE(QueryFileAttributes(folder.file(QStringLiteral("none"))), short(-1));
        QVERIFY(QueryFileAttributes(folder.file(QStringLiteral("report1.tpl"))) >= 0);
        QVERIFY(QueryFileAttributes(folder.path()) & 16);
        QFile::setPermissions(folder.file(QStringLiteral("report1.tpl")), QFileDevice::ReadOwner);
        QVERIFY(QueryFileAttributes(folder.file(QStringLiteral("report1.tpl"))) & 1);
    }

    void unitCodeRule_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("valid");
        QTest::newRow("five digits") << QStringLiteral("41010") << false;
        QTest::newRow("six digits") << QStringLiteral("410101") << true;
        QTest::newRow("six letters") << QStringLiteral("abcdef") << true;
        QTest::newRow("six Chinese") << QStringLiteral("河南省郑州市") << true;
        QTest::newRow("six with one outside the BMP") << QStringLiteral("𠀀12345") << true;
        QTest::newRow("seven") << QStringLiteral("4101011") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void unitCodeRule()
    {
        QFETCH(QString, code);
        QFETCH(bool, valid);
        QCOMPARE(IsValidUnitCode(code), valid);
        QCOMPARE(UnitCodeNotice(), kNotice);
        QVERIFY(ui_->texts.isEmpty()); // the settings dialog shows the notice
    }

    void safeFileNameParts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("safe");
        QTest::newRow("digits") << QStringLiteral("2006-01") << true;
        QTest::newRow("Chinese") << QStringLiteral("郑州01") << true;
        for (const char* bad : {"a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a\tb", "..", "."})
            QTest::newRow(bad) << QString::fromLatin1(bad) << false;
    }
    void safeFileNameParts()
    {
        QFETCH(QString, text);
        QFETCH(bool, safe);
        QCOMPARE(IsSafeFileNamePart(text), safe);
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
