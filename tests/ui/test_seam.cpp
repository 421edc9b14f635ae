// The seam is the only road to Qt's dialogs, and the scripted one never blocks.
#include "ScriptedUi.h"
#include "ui/ChineseTranslation.h"
#include "ui/UserInterface.h"

#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QLocale>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

class TestSeam : public QObject {
    Q_OBJECT
private slots:
    void noDialogsOutsideTheSeam()
    {
        const QDir src(QStringLiteral(VANTREL_SOURCE_DIR "/src"));
        QDirIterator it(src.path(), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList offenders;
        while (it.hasNext()) {
            const QString path = it.next();
            if (src.relativeFilePath(path).startsWith(QLatin1String("ui/")))
                continue;
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            for (const char* name : {"QMessageBox", "QFileDialog", "QDesktopServices"})
                if (text.contains(name))
                    offenders << src.relativeFilePath(path) + QStringLiteral(": ") + QLatin1String(name);
        }
        QVERIFY2(offenders.isEmpty(), qPrintable(offenders.join(QLatin1Char('\n'))));
    }

    void filterConversion_data()
    {
        QTest::addColumn<QString>("pipe");
        QTest::addColumn<QString>("qt");
        QTest::newRow("report") << QStringLiteral("报告文件 (*.xm)|*.xm|所有文件(*.*)|*.*")
                                << QStringLiteral("报告文件 (*.xm);;所有文件(*.*)");
        QTest::newRow("html") << QStringLiteral("HTML文件 (*.htm)|*.htm;*.html")
                              << QStringLiteral("HTML文件 (*.htm) (*.htm *.html)");
    }
    void filterConversion()
    {
        QFETCH(QString, pipe);
        QFETCH(QString, qt);
        QCOMPARE(ui::toQtFilter(pipe), qt);
    }

    // Qt's dialogs show Chinese dates: the program's default locale is Chinese (China).
    void chineseIsTheDefaultLocale()
    {
        ui::installChineseTranslation(*QCoreApplication::instance());
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        QCOMPARE(QLocale().toString(QDate(2026, 12, 7), QLocale::ShortFormat), QStringLiteral("2026/12/7"));
    }

    void scriptedAnswersPlayInOrder()
    {
        ScriptedUi ui;
        ui.answerQuestion(false);
        ui.answerSaveFile(QStringLiteral("/tmp/x.xm"));
        ui.answerModal([](QDialog* d) { d->hide(); });
        ui::current().message(nullptr, QStringLiteral("一"));
        QCOMPARE(ui::current().question(nullptr, QStringLiteral("二")), false);
        QCOMPARE(ui::current().saveFileName(nullptr, {}).value_or(QString()), QStringLiteral("/tmp/x.xm"));
        QDialog dialog;
        dialog.setWindowTitle(QStringLiteral("对话框"));
        ui::current().runModal(&dialog);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(ui.texts, (QStringList{QStringLiteral("一"), QStringLiteral("二")}));
        QCOMPARE(ui.modalTitles, QStringList{QStringLiteral("对话框")});
        QVERIFY(!ui.hasLeftovers());
    }
};

QTEST_MAIN(TestSeam)
#include "test_seam.moc"
