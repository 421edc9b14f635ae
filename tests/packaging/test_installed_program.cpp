// The program as `cmake --install` lays it out, and where it keeps its files. An installed
// folder is root's and its user is not root; root ignores mode bits, so as root the
// read-only case runs the program as another user (setpriv), otherwise with the folder's
// write bit cleared. The settings, unit information and a report are saved through the
// real dialogs, scripted by the probe of a test build of the program placed beside the
// installed one (the installed program itself obeys no such script).
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QStringList kOtherUser{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                             QStringLiteral("--clear-groups"), QStringLiteral("--")};
const QString kFirstStart = QStringLiteral(
    "message;frmOptions/Text1=410101;frmOptions/cmdOK;message;message;"
    "frmCorpInfo/Text2=郑州市博物馆;frmCorpInfo/Text27=张三;frmCorpInfo/cmdOK;"
    "frmMain/Text1=P001;frmMain/Text2=测试项目;frmMain/M_FileSave");
const QStringList kSaved{QStringLiteral("410101.dw"), QStringLiteral("qzrt_410101_P001.xm")};

QString cacheValue(const QString& key)
{
    QFile cache(QStringLiteral(VANTREL_BINARY_DIR "/CMakeCache.txt"));
    cache.open(QIODevice::ReadOnly);
    const QRegularExpression line(QStringLiteral("^%1:[A-Z]+=(.*)$").arg(key), QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(cache.readAll())).captured(1);
}

QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        QFile file(info.filePath());
        file.open(QIODevice::ReadOnly);
        files.insert(info.fileName(), QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return files;
}

} // namespace

class TestInstalledProgram : public QObject {
    Q_OBJECT
    QTemporaryDir root_;
    QString program_;
    QString probed_; // the test build with its probe, installed beside the program
    QString folder_; // the program folder

    // Runs the installed program until its probe has played the script; returns its
    // stderr: every message shown, then the captions of the open windows.
    QByteArray run(const QStringList& arguments, const QString& home, const QString& script,
                   bool asOtherUser = false, const QString& workingFolder = QDir::tempPath())
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("VANTREL_PROBE_SCRIPT"), script);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            env.remove(QLatin1String(name));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workingFolder);
        if (asOtherUser)
            process.start(QStringLiteral("setpriv"), kOtherUser + QStringList{probed_} + arguments);
        else
            process.start(probed_, arguments);
        QByteArray errors;
        QElapsedTimer clock;
        clock.start();
        while (!errors.contains("vantrel-probe: done") && process.state() != QProcess::NotRunning
               && clock.elapsed() < 180000) {
            process.waitForReadyRead(200);
            errors += process.readAllStandardError();
        }
        process.kill();
        process.waitForFinished();
        return errors;
    }

    void checkFirstStart(const QByteArray& errors)
    {
        QVERIFY2(errors.contains("vantrel-probe: done") && !errors.contains("vantrel-probe: no"), errors.constData());
        QVERIFY2(errors.indexOf("vantrel-message: ") == errors.indexOf("vantrel-message: 请配置参数信息\n"),
                 errors.constData());
        QVERIFY2(!errors.contains("保存参数失败"), errors.constData());
    }

private slots:
    void initTestCase()
    {
        // Another user must be able to reach the installed tree.
        QVERIFY(QFile::setPermissions(root_.path(), QFile::permissions(root_.path()) | QFile::ReadOther
                                                        | QFile::ExeOther));
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), root_.filePath(QStringLiteral("stage")));
        install.setProcessEnvironment(env);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(cacheValue(QStringLiteral("CMAKE_COMMAND")),
                      {QStringLiteral("--install"), QStringLiteral(VANTREL_BINARY_DIR), QStringLiteral("--prefix"),
                       QStringLiteral("/usr")});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
        program_ = root_.filePath(QStringLiteral("stage/usr/bin/vantrel"));
        folder_ = root_.filePath(QStringLiteral("stage/usr/lib/vantrel/"));
        // The test build goes where the program is, linked from bin/ as the program is.
        QVERIFY(QFile::copy(QStringLiteral(VANTREL_BINARY_DIR "/vantrel-probed"), folder_ + QStringLiteral("vantrel-probed")));
        probed_ = root_.filePath(QStringLiteral("stage/usr/bin/vantrel-probed"));
        QVERIFY(QFile::link(QStringLiteral("../lib/vantrel/vantrel-probed"), probed_));
    }

    void laysOutProgramFolderLinksAndDesktopFiles()
    {
        for (const char* name : {"report1.tpl", "report1.tps", "corpinfo.tpl", "corpinfo.tps"})
            QVERIFY2(QFileInfo(folder_ + QLatin1String(name)).isFile(), name);
        // A relative link: the program's folder stays its real folder, whatever the prefix.
        QCOMPARE(QFileInfo(program_).symLinkTarget(), folder_ + QStringLiteral("vantrel"));
        QVERIFY(QFileInfo(program_).isExecutable());
        QDir stage(root_.filePath(QStringLiteral("stage")));
        QVERIFY(stage.rename(QStringLiteral("usr"), QStringLiteral("elsewhere")));
        const bool followsMove = QFileInfo(stage.filePath(QStringLiteral("elsewhere/bin/vantrel"))).isExecutable();
        QVERIFY(stage.rename(QStringLiteral("elsewhere"), QStringLiteral("usr")));
        QVERIFY(followsMove);

        for (const char* name : {"applications/org.vantrel.Vantrel.desktop", "metainfo/org.vantrel.Vantrel.metainfo.xml",
                                 "mime/packages/vantrel.xml", "icons/hicolor/scalable/apps/vantrel.svg"})
            QVERIFY2(QFileInfo(stage.filePath(QStringLiteral("usr/share/")) + QLatin1String(name)).isFile(), name);
        QCOMPARE(QImage(stage.filePath(QStringLiteral("usr/share/icons/hicolor/48x48/apps/vantrel.png"))).size(),
                 QSize(48, 48));

        // The installed program has no hook that lets the environment drive it.
        QFile installed(folder_ + QStringLiteral("vantrel"));
        QVERIFY(installed.open(QIODevice::ReadOnly));
        QVERIFY(!installed.readAll().contains("VANTREL_PROBE"));

        // --version needs no display.
        QProcess version;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(name));
        version.setProcessEnvironment(env);
        version.start(program_, {QStringLiteral("--version")});
        QVERIFY(version.waitForFinished(60000));
        QCOMPARE(version.exitCode(), 0);
        const QString expected = QStringLiteral("Vantrel %1\n").arg(cacheValue(QStringLiteral("CMAKE_PROJECT_VERSION")));
        QCOMPARE(QString::fromUtf8(version.readAllStandardOutput()), expected);
    }

    void readOnlyInstallKeepsSettingsAndReportsInHome()
    {
        const bool asRoot = ::geteuid() == 0;
        const QString home = root_.filePath(QStringLiteral("home-installed"));
        QVERIFY(QDir().mkpath(home));
        if (asRoot) {
            if (QProcess::execute(QStringLiteral("setpriv"), kOtherUser + QStringList{QStringLiteral("true")}) != 0)
                QSKIP("root without setpriv or the right to change user: a read-only install cannot be seen");
            QVERIFY(QProcess::execute(QStringLiteral("chown"), {QStringLiteral("65534:65534"), home}) == 0);
        } else {
            QVERIFY(QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner));
        }
        const auto before = snapshot(folder_);
        const QByteArray errors = run({}, home, kFirstStart, asRoot);
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                           | QFile::ExeOther);
        checkFirstStart(errors);
        QVERIFY2(QFileInfo(home + QStringLiteral("/.config/Vantrel/config.pz")).isFile(), errors.constData());
        for (const QString& name : kSaved)
            QVERIFY2(QFileInfo(home + QStringLiteral("/Documents/Vantrel/") + name).isFile(), qPrintable(name));
        QCOMPARE(snapshot(folder_), before);
    }

    void writableFolderKeepsThemBesideTheProgramAndOpensNamedReports()
    {
        const QString home = root_.filePath(QStringLiteral("home-portable"));
        QVERIFY(QDir().mkpath(home));
        checkFirstStart(run({}, home, kFirstStart));
        for (const QString& name : kSaved + QStringList{QStringLiteral("config.pz")})
            QVERIFY2(QFileInfo(folder_ + name).isFile(), qPrintable(name));
        QVERIFY(!QFileInfo::exists(home + QStringLiteral("/Documents")));
        QVERIFY(!QFileInfo::exists(home + QStringLiteral("/.config/Vantrel")));

        // A report named on the command line opens once start-up is done; a word not
        // understood is said and ignored.
        const QString report = folder_ + kSaved.last();
        QByteArray errors = run({QStringLiteral("--bogus"), report}, home, QStringLiteral("message"));
        QVERIFY2(errors.contains("vantrel-message: 无法识别的命令行参数，已忽略：--bogus\n"), errors.constData());
        QVERIFY2(errors.contains(("vantrel-window: Vantrel - " + report).toUtf8()), errors.constData());
        // A broken one, named from the current folder, gets Open's own message.
        QFile broken(folder_ + QStringLiteral("broken.xm"));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("<Report><unclosed>") > 0);
        broken.close();
        errors = run({QStringLiteral("broken.xm")}, home, QStringLiteral("message"), false, folder_);
        QVERIFY2(errors.contains("vantrel-message: 报表文件错误，请重新建立\n"), errors.constData());
    }
};

QTEST_GUILESS_MAIN(TestInstalledProgram)
#include "test_installed_program.moc"
