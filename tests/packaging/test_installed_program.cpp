// The program as `cmake --install` lays it out: the program folder with its templates,
// links in bin/, the desktop files; and where an installed program keeps its files. An
// installed folder is root's and the user is not root, so the read-only case runs the
// program as another user (root ignores mode bits) or, for a user, with the write bit
// cleared; it saves the settings and a report through the real dialogs.
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kOtherUser = 65534; // nobody
constexpr int kStartTimeoutMs = 180000;

const QString kFirstStartScript = QStringLiteral(
    "message;frmOptions/Text1=410101;frmOptions/cmdOK;message;message;"
    "frmCorpInfo/Text2=郑州市博物馆;frmCorpInfo/Text27=张三;frmCorpInfo/cmdOK;"
    "frmMain/Text1=P001;frmMain/Text2=测试项目;frmMain/M_FileSave");

QString cacheValue(const QString& key)
{
    QFile cache(QStringLiteral(VANTREL_BINARY_DIR "/CMakeCache.txt"));
    if (!cache.open(QIODevice::ReadOnly))
        return QString();
    const QRegularExpression line(QStringLiteral("^%1:[A-Z]+=(.*)$").arg(key), QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(cache.readAll())).captured(1);
}

QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return files;
}

struct Run {
    QByteArray errors;
    QStringList messages;
    bool finishedScript = false;
};

} // namespace

class TestInstalledProgram : public QObject {
    Q_OBJECT
    QTemporaryDir root_;
    QString stage_;
    QString programFolder_;
    QString version_;

    QString program() const { return stage_ + QStringLiteral("/usr/bin/vantrel"); }

    QProcessEnvironment environment(const QString& home) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            env.remove(QLatin1String(name));
        return env;
    }

    // Starts the installed program, lets the script drive it and stops it once the script
    // is done (or the time is up).
    Run run(const QStringList& arguments, const QString& home, const QString& script, bool asOtherUser,
            const QString& workingFolder = QDir::tempPath())
    {
        QProcess process;
        QProcessEnvironment env = environment(home);
        env.insert(QStringLiteral("VANTREL_PROBE_SCRIPT"), script);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workingFolder);
        if (asOtherUser)
            process.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=%1").arg(kOtherUser),
                                                                 QStringLiteral("--regid=%1").arg(kOtherUser),
                                                                 QStringLiteral("--clear-groups"), QStringLiteral("--"),
                                                                 program()} + arguments);
        else
            process.start(program(), arguments);
        Run result;
        if (!process.waitForStarted())
            return result;
        QElapsedTimer clock;
        clock.start();
        while (!result.errors.contains("vantrel-probe: done") && process.state() == QProcess::Running
               && clock.elapsed() < kStartTimeoutMs) {
            process.waitForReadyRead(200);
            result.errors += process.readAllStandardError();
        }
        result.finishedScript = result.errors.contains("vantrel-probe: done");
        process.kill();
        process.waitForFinished();
        result.errors += process.readAllStandardError();
        for (const QByteArray& line : result.errors.split('\n')) {
            if (line.startsWith("vantrel-message: "))
                result.messages << QString::fromUtf8(line.mid(17));
        }
        return result;
    }

    QString freshHome(const QString& name, bool forOtherUser)
    {
        const QString home = root_.filePath(name);
        QDir().mkpath(home);
        if (forOtherUser && ::chown(QFile::encodeName(home).constData(), kOtherUser, kOtherUser) != 0)
            return QString();
        return home;
    }

    void checkFirstStart(const Run& result)
    {
        QVERIFY2(result.finishedScript, result.errors.constData());
        QVERIFY2(!result.messages.isEmpty() && result.messages.first() == QStringLiteral("请配置参数信息"),
                 result.errors.constData());
        QVERIFY2(!result.errors.contains("保存参数失败") && !result.errors.contains("vantrel-probe: no"),
                 result.errors.constData());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root_.isValid());
        // Another user must be able to reach the installed tree.
        QVERIFY(QFile::setPermissions(root_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                        | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                        | QFile::ExeOther));
        version_ = cacheValue(QStringLiteral("CMAKE_PROJECT_VERSION"));
        QVERIFY(!version_.isEmpty());
        stage_ = root_.filePath(QStringLiteral("stage"));
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), stage_);
        install.setProcessEnvironment(env);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(cacheValue(QStringLiteral("CMAKE_COMMAND")),
                      {QStringLiteral("--install"), QStringLiteral(VANTREL_BINARY_DIR), QStringLiteral("--prefix"),
                       QStringLiteral("/usr")});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
        programFolder_ = stage_ + QStringLiteral("/usr/lib/vantrel");
    }

    void laysOutProgramFolderLinksAndDesktopFiles()
    {
        for (const char* name : {"vantrel", "report1.tpl", "report1.tps", "corpinfo.tpl", "corpinfo.tps"})
            QVERIFY2(QFileInfo(programFolder_ + QLatin1Char('/') + QLatin1String(name)).isFile(), name);
        QVERIFY(QFileInfo(programFolder_ + QStringLiteral("/vantrel")).isExecutable());
        // A relative link keeps the program's real folder, whatever the prefix.
        char target[256] = {};
        QVERIFY(::readlink(QFile::encodeName(program()).constData(), target, sizeof target - 1) > 0);
        QCOMPARE(QByteArray(target), QByteArray("../lib/vantrel/vantrel"));
        QCOMPARE(QFileInfo(program()).canonicalFilePath(), QFileInfo(programFolder_ + "/vantrel").canonicalFilePath());
        if (QFileInfo::exists(QStringLiteral(VANTREL_BINARY_DIR "/vantrel-check")))
            QVERIFY(QFileInfo(stage_ + QStringLiteral("/usr/bin/vantrel-check")).isSymLink());

        const QString share = stage_ + QStringLiteral("/usr/share/");
        for (const char* name : {"applications/org.vantrel.Vantrel.desktop", "metainfo/org.vantrel.Vantrel.metainfo.xml",
                                 "mime/packages/vantrel.xml", "icons/hicolor/scalable/apps/vantrel.svg",
                                 "doc/vantrel/copyright", "doc/vantrel/changelog.gz"})
            QVERIFY2(QFileInfo(share + QLatin1String(name)).isFile(), name);
        const QImage icon(share + QStringLiteral("icons/hicolor/48x48/apps/vantrel.png"));
        QCOMPARE(icon.size(), QSize(48, 48));
        QVERIFY(icon.pixelColor(24, 24).alpha() == 255); // drawn, not an empty canvas
    }

    void versionAndHelpNeedNoDisplay()
    {
        for (const auto& [option, expected] : {std::pair{"--version", QStringLiteral("Vantrel %1\n").arg(version_)},
                                               std::pair{"--help", QStringLiteral("用法：vantrel")}}) {
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            env.remove(QStringLiteral("DISPLAY"));
            env.remove(QStringLiteral("WAYLAND_DISPLAY"));
            process.setProcessEnvironment(env);
            process.start(program(), {QLatin1String(option)});
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 0);
            const QString output = QString::fromUtf8(process.readAllStandardOutput());
            QVERIFY2(output.startsWith(expected), qPrintable(output));
        }
    }

    void readOnlyInstallKeepsSettingsAndReportsInHome()
    {
        const bool asRoot = ::geteuid() == 0;
        if (asRoot) {
            QProcess probe;
            probe.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=%1").arg(kOtherUser),
                                                    QStringLiteral("--regid=%1").arg(kOtherUser),
                                                    QStringLiteral("--clear-groups"), QStringLiteral("--"),
                                                    QStringLiteral("true")});
            if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
                QSKIP("running as root without setpriv or the right to change user: no way to see a read-only install");
        } else {
            QVERIFY(QFile::setPermissions(programFolder_, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                              | QFile::ExeOther));
        }
        const QString home = freshHome(QStringLiteral("home-read-only"), asRoot);
        QVERIFY(!home.isEmpty());
        const auto before = snapshot(programFolder_);

        const Run result = run({}, home, kFirstStartScript, asRoot);
        if (!asRoot)
            QFile::setPermissions(programFolder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadOther | QFile::ExeOther);
        checkFirstStart(result);
        QVERIFY2(QFileInfo(home + QStringLiteral("/.config/Vantrel/config.pz")).isFile(), result.errors.constData());
        const QString documents = home + QStringLiteral("/Documents/Vantrel/");
        QVERIFY2(QFileInfo(documents + QStringLiteral("410101.dw")).isFile(), result.errors.constData());
        QVERIFY2(QFileInfo(documents + QStringLiteral("qzrt_410101_P001.xm")).isFile(), result.errors.constData());
        QCOMPARE(snapshot(programFolder_), before);
    }

    void writableFolderKeepsThemBesideTheProgram()
    {
        const QString home = freshHome(QStringLiteral("home-portable"), false);
        const Run result = run({}, home, kFirstStartScript, false);
        checkFirstStart(result);
        for (const char* name : {"config.pz", "410101.dw", "qzrt_410101_P001.xm"})
            QVERIFY2(QFileInfo(programFolder_ + QLatin1Char('/') + QLatin1String(name)).isFile(), name);
        QVERIFY(!QFileInfo::exists(home + QStringLiteral("/.config/Vantrel")));
        QVERIFY(!QFileInfo::exists(home + QStringLiteral("/Documents")));
    }

    void opensTheReportNamedOnTheCommandLine()
    {
        // The settings and the report of the writable run above.
        const QString report = programFolder_ + QStringLiteral("/qzrt_410101_P001.xm");
        QVERIFY(QFileInfo::exists(report));
        const QString home = freshHome(QStringLiteral("home-open"), false);
        Run result = run({QStringLiteral("--bogus"), report}, home, QStringLiteral("message"), false);
        QVERIFY2(result.finishedScript, result.errors.constData());
        QCOMPARE(result.messages, QStringList{QStringLiteral("无法识别的命令行参数，已忽略：--bogus")});
        QVERIFY2(result.errors.contains(("vantrel-window: Vantrel - " + report).toUtf8()), result.errors.constData());

        // A broken file, named relative to the current folder: Open's own message.
        QFile broken(programFolder_ + QStringLiteral("/broken.xm"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("<Report><unclosed>");
        broken.close();
        result = run({QStringLiteral("broken.xm")}, home, QStringLiteral("message"), false, programFolder_);
        QVERIFY2(result.finishedScript, result.errors.constData());
        QCOMPARE(result.messages, QStringList{QStringLiteral("报表文件错误，请重新建立")});
    }
};

QTEST_GUILESS_MAIN(TestInstalledProgram)
#include "test_installed_program.moc"
