// The command line: a report to open, --version and --help, and what is not understood.
#include "platform/CommandLine.h"

#include <QDir>
#include <QTest>

using Request = CommandLine::Request;
Q_DECLARE_METATYPE(CommandLine::Request)

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Request>("request");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QStringList>("unrecognised");
        const QString here = QDir::currentPath();
        QTest::newRow("nothing") << QStringList{} << Request::Start << QString() << QStringList{};
        QTest::newRow("relative report") << QStringList{"sub/a.xm"} << Request::Start
                                         << here + QStringLiteral("/sub/a.xm") << QStringList{};
        QTest::newRow("version wins over a file") << QStringList{"a.xm", "--version"} << Request::PrintVersion
                                                  << here + QStringLiteral("/a.xm") << QStringList{};
        QTest::newRow("unknown option and second file")
            << QStringList{"--bogus", "/a.xm", "/b.xm"} << Request::Start << QStringLiteral("/a.xm")
            << QStringList{"--bogus", "/b.xm"};
        QTest::newRow("file after --") << QStringList{"--", "-odd.xm"} << Request::Start
                                       << here + QStringLiteral("/-odd.xm") << QStringList{};
        QTest::newRow("empty argument") << QStringList{""} << Request::Start << QString() << QStringList{""};
    }
    void parses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Request, request);
        QFETCH(QString, report);
        QFETCH(QStringList, unrecognised);
        const CommandLine line = CommandLine::parse(arguments);
        QCOMPARE(line.request(), request);
        QCOMPARE(line.reportFile(), report);
        QCOMPARE(line.unrecognised(), unrecognised);
        QCOMPARE(line.unrecognisedMessage().isEmpty(), unrecognised.isEmpty());
    }

    void textsForTheUser()
    {
        QCOMPARE(CommandLine::versionText(QStringLiteral("1.1.1")), QStringLiteral("Vantrel 1.1.1\n"));
        const QString help = CommandLine::helpText();
        QVERIFY(help.startsWith(QStringLiteral("用法：vantrel")));
        QVERIFY(help.contains(QStringLiteral("--version")) && help.contains(QStringLiteral("--help")));
        QCOMPARE(CommandLine::parse({QStringLiteral("-x"), QStringLiteral("-y")}).unrecognisedMessage(),
                 QStringLiteral("无法识别的命令行参数，已忽略：-x -y"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_CommandLine.moc"
