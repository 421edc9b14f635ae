// A save that is cut short — a full disk, or the process killed part-way — never leaves a
// truncated or mixed file: the file is the old one or the complete new one.
#include "KilledSaveLoop.h"
#include "TempProgramFolder.h"
#include "core/AtomicFileWriter.h"
#include "TestDocuments.h"
#include "store/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

using namespace testdoc;
using namespace xml;

namespace {

const char kChildVariable[] = "VANTREL_SAVE_LOOP_TARGET";

// Two versions of one report; the long one is far bigger than a disk block.
XmlDocumentPtr version(bool longOne)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Report><BasicInfo><Remark>";
    text += longOne ? QByteArray(300000, 'L') : QByteArray("短");
    text += "</Remark></BasicInfo></Report>";
    return ParseXmlText(text);
}

// The child: saves the two versions in turn (short first) until it is killed.
int saveLoop(const QString& target)
{
    const XmlDocumentPtr a = version(false);
    const XmlDocumentPtr b = version(true);
    for (unsigned i = 0;; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!SaveXmlDocument(i % 2 ? b : a, target))
            return 2;
        KilledSaveLoop::reportSave(timer.nsecsElapsed());
    }
}

} // namespace

class TestCrashSafety : public QObject {
    Q_OBJECT
private slots:
    void killedSavesLeaveOldOrNew()
    {
        TempProgramFolder folder;
        const QString target = folder.file(QStringLiteral("report.xm"));
        const QByteArray shortBytes = SerializeXmlDocument(version(false));
        const QByteArray longBytes = SerializeXmlDocument(version(true));
        QVERIFY(SaveXmlDocument(version(false), target));

        int sawShort = 0;
        int sawLong = 0;
        QElapsedTimer spent;
        spent.start();
        for (int round = 0; round < 200; ++round) {
            // A slow machine makes fewer kills instead of outliving the test's time limit;
            // the outcomes alternate from round to round, so twenty rounds show both.
            if (round >= 20 && spent.elapsed() > 120000)
                break;
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(kChildVariable), target);
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            // The kill follows one to four finished saves, so the last finished save is
            // the short or the long version in turn, whatever the machine's speed.
            QString why;
            QVERIFY2(KilledSaveLoop::killDuringSave(child, 1 + round % 4, &why), qPrintable(why));

            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray now = file.readAll();
            QVERIFY2(now == shortBytes || now == longBytes,
                     qPrintable(QStringLiteral("round %1: the file holds %2 bytes of neither version").arg(round).arg(now.size())));
            (now == shortBytes ? sawShort : sawLong)++;
            LoadXmlDocument(target);
            QCOMPARE(GetLastErrorText(), QString());
        }
        // Both outcomes occurred, so the kills really landed among the saves.
        QVERIFY2(sawShort > 0 && sawLong > 0, qPrintable(QStringLiteral("%1 / %2").arg(sawShort).arg(sawLong)));
    }

    void fullDiskKeepsTheOldFile()
    {
        QTemporaryDir mountPoint;
        const QByteArray where = QFile::encodeName(mountPoint.path());
        if (geteuid() != 0 || ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=128k") != 0)
            QSKIP("no small file system can be mounted here; the injected write failure covers this");
        struct Unmount { QByteArray path; ~Unmount() { ::umount(path.constData()); } } unmount{where};

        const QString target = mountPoint.path() + QStringLiteral("/report.xm");
        QVERIFY(SaveXmlDocument(version(false), target));
        const QByteArray old = SerializeXmlDocument(version(false));
        // Fill what is left, so the long version cannot be written.
        QFile filler(mountPoint.path() + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();

        QVERIFY(!SaveXmlDocument(version(true), target));
        QVERIFY2(GetLastErrorText().startsWith(QStringLiteral("无法保存指定文件") + target + QStringLiteral("\\n")),
                 qPrintable(GetLastErrorText()));
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("report.xm")}));
    }

    // A file smaller than the write buffer fails only when the buffer is flushed on close;
    // that failure must still stop the rename instead of leaving an empty file.
    void fullDiskKeepsTheOldFileForSmallSaves()
    {
        QTemporaryDir mountPoint;
        const QByteArray where = QFile::encodeName(mountPoint.path());
        if (geteuid() != 0 || ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=128k") != 0)
            QSKIP("no small file system can be mounted here");
        struct Unmount { QByteArray path; ~Unmount() { ::umount(path.constData()); } } unmount{where};

        const QString target = mountPoint.path() + QStringLiteral("/config.pz");
        QVERIFY(AtomicFileWriter::write(target, "<Config>old</Config>", nullptr));
        QFile filler(mountPoint.path() + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.close();

        QString reason;
        QVERIFY(!AtomicFileWriter::write(target, "<Config>new</Config>", &reason));
        QVERIFY(!reason.isEmpty());
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("<Config>old</Config>"));
        QCOMPARE(QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("config.pz"), QStringLiteral("filler")}));
    }
};

int main(int argc, char** argv)
{
    const QString target = qEnvironmentVariable(kChildVariable);
    if (!target.isEmpty())
        return saveLoop(target);
    QCoreApplication app(argc, argv);
    TestCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_crash_safety.moc"
