// Files a clerk is handed by another unit or finds half-copied on a USB stick, opened as a
// report in the main window and as the unit information in its dialog: each one either
// shows the window's message or loads with nothing from outside the file; what loaded
// saves and prints with its text escaped, and the window goes on working.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "report/ReportForm.h"
#include "report/ReportController.h"
#include "report/MainWindow.h"
#include "TestDocuments.h"
#include "store/Settings.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace testdoc;
using namespace xml;

namespace {

enum Outcome { MustFail, MustLoad, EitherWay };
enum class Kind { Report, UnitInfo };

const QByteArray kForeign = "FOREIGN-CONTENT-7F3A";
const QByteArray kFolder = "<folder>";

QByteArray repeated(const QByteArray& part, qsizetype times)
{
    QByteArray out;
    out.reserve(part.size() * times);
    for (qsizetype i = 0; i < times; ++i)
        out += part;
    return out;
}

// A small document of the kind whose name (project name or unit name) is the given
// markup; longText goes into a long text the window keeps (report remark, damage description).
QByteArray document(Kind kind, const QByteArray& name, const QByteArray& prolog = {},
                    const QByteArray& rootAttributes = {}, const QByteArray& longText = {})
{
    if (kind == Kind::Report)
        return prolog + "<Report" + rootAttributes + "><BasicInfo><ProjectID>H7</ProjectID><ProjectName>" + name
             + "</ProjectName><Remark>" + longText + "</Remark></BasicInfo></Report>";
    return prolog + "<CorpInfo" + rootAttributes + "><ReportInfo><ReportUser>李四</ReportUser></ReportInfo><Basic><Name>"
         + name + "</Name></Basic><Reserve><DamageDescription>" + longText + "</DamageDescription></Reserve></CorpInfo>";
}

// The same table for both windows; %SECRET% and %PORT% are filled in by the test.
void addHostileRows(Kind kind)
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("name"); // the name the window shows when the file loads

    const QByteArray decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    const QByteArray xi = " xmlns:xi=\"http://www.w3.org/2001/XInclude\"";
    const auto row = [](const char* tag, const QByteArray& content, Outcome outcome, const QString& name = {}) {
        QTest::newRow(tag) << content << int(outcome) << name;
    };
    row("not well-formed", document(kind, "x").replace("</BasicInfo>", "").replace("</Basic>", ""), MustFail);
    row("half-copied file", document(kind, "半截", decl).left(60), MustFail);
    row("wrong root", "<Config><CorpID>1</CorpID><ProjectName>外</ProjectName><Name>外</Name></Config>", MustLoad);
    row("empty file", QByteArray(), MustFail);
    row("a folder of that name", kFolder, MustFail);
    row("50 MB long text", document(kind, "长", decl, {}, repeated("长文本", 50 * 1024 * 1024 / 9)), EitherWay,
        QStringLiteral("长"));
    row("10000-deep nesting",
        document(kind, "深", decl).replace("</Basic", repeated("<a>", 10000) + repeated("</a>", 10000) + "</Basic"),
        EitherWay, QStringLiteral("深"));
    row("bytes invalid for UTF-8", document(kind, "\xff\xfe\xc3(", decl), MustFail);
    row("bytes invalid for GB2312", document(kind, "\x81\x20\xff", "<?xml version=\"1.0\" encoding=\"GB2312\"?>"),
        MustFail);
    row("unknown encoding name", document(kind, "x", "<?xml version=\"1.0\" encoding=\"X-NO-SUCH-CHARSET\"?>"),
        MustFail);
    row("GB2312 label with GBK bytes", document(kind, "\xe9\x46\xb9\xa4", "<?xml version=\"1.0\" encoding=\"GB2312\"?>"),
        MustLoad, QStringLiteral("镕工"));
    // The window reads nothing from a document in another namespace.
    row("default namespace", document(kind, "外", decl, " xmlns=\"urn:vantrel:other\""), MustLoad);
    row("external entity, local file",
        document(kind, "&e;", decl + "<!DOCTYPE R [<!ENTITY e SYSTEM \"%SECRET%\">]>"), MustFail);
    row("external entity, network",
        document(kind, "&e;", decl + "<!DOCTYPE R [<!ENTITY e SYSTEM \"http://127.0.0.1:%PORT%/e\">]>"), MustFail);
    row("external DTD, network", document(kind, "x", decl + "<!DOCTYPE R SYSTEM \"http://127.0.0.1:%PORT%/r.dtd\">"),
        MustFail);
    {
        QByteArray dtd = "<!DOCTYPE R [<!ENTITY l0 \"lol\">";
        for (int i = 1; i <= 9; ++i)
            dtd += "<!ENTITY l" + QByteArray::number(i) + " \"" + repeated("&l" + QByteArray::number(i - 1) + ";", 10)
                 + "\">";
        row("billion laughs", document(kind, "&l9;", decl + dtd + "]>"), MustFail);
    }
    row("quadratic blow-up",
        document(kind, repeated("&a;", 20000), decl + "<!DOCTYPE R [<!ENTITY a \"" + repeated("x", 50000) + "\">]>"),
        MustFail);
    row("XInclude, local file", document(kind, "包<xi:include href=\"%SECRET%\" parse=\"text\"/>", decl, xi), MustLoad,
        QStringLiteral("包"));
    row("XInclude, network", document(kind, "网<xi:include href=\"http://127.0.0.1:%PORT%/x\"/>", decl, xi), MustLoad,
        QStringLiteral("网"));
    row("stylesheet processing instruction",
        document(kind, "样式", decl + "<?xml-stylesheet type=\"text/xsl\" href=\"http://127.0.0.1:%PORT%/s.xsl\"?>"),
        MustLoad, QStringLiteral("样式"));
    row("script and title in a value", document(kind, "&lt;script&gt;alert(1)&lt;/script&gt;&lt;/title&gt;", decl),
        MustLoad, QStringLiteral("<script>alert(1)</script></title>"));
    row("markup in CDATA", document(kind, "<![CDATA[<script src=x></script></title><b>]]>", decl), MustLoad,
        QStringLiteral("<script src=x></script></title><b>"));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every value the window shows, so a failed load can be proved to have changed nothing.
QStringList shownValues(const QWidget& window)
{
    QStringList values;
    for (const QLineEdit* box : window.findChildren<QLineEdit*>())
        values << box->objectName() + QLatin1Char('=') + box->text();
    for (const QPlainTextEdit* box : window.findChildren<QPlainTextEdit*>())
        values << box->objectName() + QLatin1Char('=') + box->toPlainText().left(1000);
    for (const QComboBox* list : window.findChildren<QComboBox*>())
        values << list->objectName() + QLatin1Char('=') + list->currentText();
    return values;
}

// A page that shows the given text as text: the markup appears escaped and the page
// keeps a single title and body.
void verifyEscapedPage(const QByteArray& page, const QString& name)
{
    QVERIFY(!page.isEmpty());
    const QString html = QString::fromUtf8(page);
    QVERIFY2(!html.contains(QLatin1String("<script"), Qt::CaseInsensitive), qPrintable(html.left(400)));
    QCOMPARE(html.count(QLatin1String("</title>")), 1);
    QCOMPARE(html.count(QLatin1String("</body>")), 1);
    QString escaped = name;
    escaped.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
    QVERIFY2(html.contains(escaped), qPrintable(escaped));
    QVERIFY(!page.contains(kForeign));
}

void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestHostileWindows : public QObject {
    Q_OBJECT

    QTemporaryDir secrets_;
    QTcpServer server_;
    std::unique_ptr<ScriptedUi> ui_;
    std::unique_ptr<TempProgramFolder> dir_;

    // Writes the row's content (or makes a folder) at path.
    void place(const QString& path, QByteArray content)
    {
        if (content == kFolder) {
            QVERIFY(QDir().mkpath(path));
            return;
        }
        content.replace("%SECRET%", QFile::encodeName(secrets_.filePath(QStringLiteral("secret.txt"))));
        content.replace("%PORT%", QByteArray::number(server_.serverPort()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }

    void verifyNoConnection()
    {
        // The program connects synchronously, so an attempt is queued at the socket by now;
        // looking at the socket itself needs no waiting.
        server_.waitForNewConnection(0);
        QVERIFY2(!server_.hasPendingConnections(), "a file made the program connect to the network");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(secrets_.isValid());
        QFile secret(secrets_.filePath(QStringLiteral("secret.txt")));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write(kForeign);
        QVERIFY(server_.listen(QHostAddress::LocalHost));
    }

    void init()
    {
        ui_ = std::make_unique<ScriptedUi>();
        dir_ = std::make_unique<TempProgramFolder>();
        dir_->writeCompleteSettings();
    }

    void cleanup()
    {
        ui_->finish();
        dir_.reset();
        ui_.reset();
    }

    void openAsReport_data() { addHostileRows(Kind::Report); }
    void openAsReport()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, outcome);
        QFETCH(QString, name);

        MainWindow w(dir_->settings);
        w.start();
        QCOMPARE(ui_->texts, QStringList());
        // Unsaved work in the window: a failed open must leave it exactly as it is.
        typeInto(w.form()->lineEdit(QStringLiteral("projectCode")), QStringLiteral("K01"));
        typeInto(w.form()->lineEdit(QStringLiteral("projectName")), QStringLiteral("原有项目"));
        QVERIFY(w.controller()->isModified());
        const QStringList before = shownValues(w);

        const QString hostile = dir_->file(QStringLiteral("hostile.xm"));
        place(hostile, content);
        ui_->answerQuestion(true);
        ui_->answerOpenFile(hostile);
        w.controller()->openReport();
        verifyNoConnection();
        QCOMPARE(ui_->texts.first(), QStringLiteral("当前报表还未保存，确定打开其他报表吗？"));
        const bool loaded = ui_->texts.size() == 1;
        if (outcome == MustFail)
            QVERIFY2(!loaded, "the file was taken as a report");
        if (outcome == MustLoad)
            QVERIFY2(loaded, qPrintable(ui_->texts.join(QLatin1Char('|'))));
        if (outcome == EitherWay)
            qInfo("%s", loaded ? "loaded" : "refused");
        QCOMPARE(w.windowTitle(), QStringLiteral("Vantrel - ") + hostile);

        if (!loaded) {
            QCOMPARE(ui_->texts, (QStringList{ui_->texts.first(), QStringLiteral("报表文件错误，请重新建立")}));
            QCOMPARE(shownValues(w), before);
            QVERIFY(w.controller()->isModified());
        } else {
            QVERIFY(!w.controller()->isModified());
            QCOMPARE(w.form()->lineEdit(QStringLiteral("projectName"))->text(), name);
            QVERIFY(!shownValues(w).join(QLatin1Char('\n')).contains(QString::fromLatin1(kForeign)));
            // What was opened saves under the standard name and prints with its text escaped.
            if (w.form()->lineEdit(QStringLiteral("projectCode"))->text().isEmpty())
                typeInto(w.form()->lineEdit(QStringLiteral("projectCode")), QStringLiteral("H7"));
            if (w.form()->lineEdit(QStringLiteral("projectName"))->text().isEmpty())
                typeInto(w.form()->lineEdit(QStringLiteral("projectName")), QStringLiteral("外来文件"));
            const QString shown = w.form()->lineEdit(QStringLiteral("projectName"))->text();
            ui_->texts.clear();
            w.controller()->saveReport();
            QCOMPARE(ui_->texts, QStringList());
            const QString saved = dir_->file(QStringLiteral("qzrt_410101_H7.xm"));
            QCOMPARE(w.controller()->fileName(), saved);
            const XmlDocumentPtr again = LoadXmlDocument(saved);
            QCOMPARE(GetLastErrorText(), QString());
            QCOMPARE(GetNodeText(documentElement(again), QStringLiteral("//Report/BasicInfo/ProjectName")), shown);
            QVERIFY(!readAll(saved).contains(kForeign));
            verifyEscapedPage(readAll(dir_->file(QStringLiteral("qzrt_410101_H7.htm"))), shown);
        }

        // The window goes on working: a new report is filled and saved as usual.
        ui_->texts.clear();
        if (w.controller()->isModified())
            ui_->answerQuestion(true);
        w.controller()->newReport();
        QCOMPARE(w.windowTitle(), QStringLiteral("Vantrel - 未命名"));
        QCOMPARE(w.form()->lineEdit(QStringLiteral("projectName"))->text(), QString());
        typeInto(w.form()->lineEdit(QStringLiteral("projectCode")), QStringLiteral("N01"));
        typeInto(w.form()->lineEdit(QStringLiteral("projectName")), QStringLiteral("城墙维修"));
        ui_->texts.clear();
        w.controller()->saveReport();
        QCOMPARE(ui_->texts, QStringList());
        QVERIFY(!w.controller()->isModified());
        const XmlDocumentPtr fresh = LoadXmlDocument(dir_->file(QStringLiteral("qzrt_410101_N01.xm")));
        QCOMPARE(GetLastErrorText(), QString());
        QCOMPARE(GetNodeText(documentElement(fresh), QStringLiteral("//Report/BasicInfo/ProjectName")),
                 QStringLiteral("城墙维修"));
        QVERIFY(QString::fromUtf8(readAll(dir_->file(QStringLiteral("qzrt_410101_N01.htm")))).contains(QStringLiteral("城墙维修")));
    }

    void loadAsUnitInfo_data() { addHostileRows(Kind::UnitInfo); }
    void loadAsUnitInfo()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, outcome);
        QFETCH(QString, name);

        dir_->settings.unitCode = QStringLiteral("410101");
        dir_->settings.localFolder.clear();
        const QString unitFile = dir_->file(QStringLiteral("410101.dw"));
        const QString page = dir_->file(QStringLiteral("410101.htm"));
        QFile::remove(unitFile);
        // What the dialog shows for a unit without a file: the template with the unit code.
        QStringList blank;
        {
            UnitInfoDialog reference(dir_->settings);
            reference.allowCancel = false;
            ui_->answerModal([&](QDialog* d) {
                blank = shownValues(*d);
                d->hide();
            });
            ui::current().runModal(&reference);
        }
        place(unitFile, content);

        UnitInfoDialog dialog(dir_->settings);
        dialog.allowCancel = true;
        bool loaded = false;
        QString shown;
        ui_->answerModal([&](QDialog*) {
            verifyNoConnection();
            loaded = ui_->texts.isEmpty();
            if (outcome == MustFail)
                QVERIFY2(!loaded, "the file was taken as unit information");
            if (outcome == MustLoad)
                QVERIFY2(loaded, qPrintable(ui_->texts.join(QLatin1Char('|'))));
            if (outcome == EitherWay)
                qInfo("%s", loaded ? "loaded" : qPrintable(ui_->texts.join(QLatin1Char('|'))));
            QCOMPARE(dialog.textBox(QStringLiteral("Text1"))->text(), dir_->settings.unitCode);
            if (!loaded) {
                // The file is named and the template is shown in its place.
                QCOMPARE(ui_->texts.size(), 1);
                QVERIFY2(ui_->texts.first().startsWith(QStringLiteral("无法打开指定文件") + unitFile)
                             || ui_->texts.first().startsWith(QStringLiteral("文件格式错误:") + unitFile),
                         qPrintable(ui_->texts.first()));
                QVERIFY(ui_->texts.first().endsWith(QStringLiteral(",配置文件错误，使用模板重新创建")));
                QCOMPARE(shownValues(dialog), blank);
                typeInto(dialog.textBox(QStringLiteral("Text2")), QStringLiteral("新博物馆"));
                typeInto(dialog.textBox(QStringLiteral("Text27")), QStringLiteral("王五"));
            } else {
                QCOMPARE(dialog.textBox(QStringLiteral("Text2"))->text(), name);
                QVERIFY(!shownValues(dialog).join(QLatin1Char('\n')).contains(QString::fromLatin1(kForeign)));
                if (dialog.textBox(QStringLiteral("Text2"))->text().isEmpty())
                    typeInto(dialog.textBox(QStringLiteral("Text2")), QStringLiteral("外来单位"));
                if (dialog.textBox(QStringLiteral("Text27"))->text().isEmpty())
                    typeInto(dialog.textBox(QStringLiteral("Text27")), QStringLiteral("王五"));
            }
            shown = dialog.textBox(QStringLiteral("Text2"))->text();
            ui_->texts.clear();
            dialog.okButton()->click();
            if (content == kFolder) {
                // Nothing can be written over a folder: Save says so, the dialog stays open
                // with everything typed, and Cancel still leaves it.
                QVERIFY(dialog.isVisible());
                QCOMPARE(ui_->texts.size(), 1);
                QVERIFY2(ui_->texts.first().startsWith(QStringLiteral("无法保存指定文件") + unitFile),
                         qPrintable(ui_->texts.first()));
                QCOMPARE(dialog.textBox(QStringLiteral("Text2"))->text(), shown);
                dialog.cancelButton()->click();
                ui_->texts.clear();
            }
        });
        ui::current().runModal(&dialog);
        QVERIFY(dialog.isHidden());
        QCOMPARE(ui_->texts, QStringList());
        if (content == kFolder) {
            QVERIFY(QFileInfo(unitFile).isDir());
            return;
        }
        QCOMPARE(dir_->settings.unitName, TrimSpaces(shown));

        // Save wrote a unit file that loads, and a page with the text escaped.
        const XmlDocumentPtr saved = LoadXmlDocument(unitFile);
        QCOMPARE(GetLastErrorText(), QString());
        QCOMPARE(GetNodeText(documentElement(saved), QStringLiteral("//CorpInfo/Basic/Name")), TrimSpaces(shown));
        QVERIFY(!readAll(unitFile).contains(kForeign));
        verifyEscapedPage(readAll(page), TrimSpaces(shown));

        // The dialog goes on working: it opens the saved file without a message and saves again.
        UnitInfoDialog next(dir_->settings);
        next.allowCancel = true;
        ui_->answerModal([&](QDialog*) {
            QCOMPARE(ui_->texts, QStringList());
            QCOMPARE(next.textBox(QStringLiteral("Text2"))->text(), TrimSpaces(shown));
            typeInto(next.textBox(QStringLiteral("Text27")), QStringLiteral("赵六"));
            next.okButton()->click();
        });
        ui::current().runModal(&next);
        QCOMPARE(ui_->texts, QStringList());
        QCOMPARE(dir_->settings.reportUser, QStringLiteral("赵六"));
        QCOMPARE(GetNodeText(documentElement(LoadXmlDocument(unitFile)), QStringLiteral("//CorpInfo/ReportInfo/ReportUser")),
                 QStringLiteral("赵六"));
    }
};

QTEST_MAIN(TestHostileWindows)
#include "test_hostile_windows.moc"
