// How long each user command takes on a fully filled report, beside what libxml2 and
// libxslt alone need for the same documents (the floor no implementation can beat).
#include "core/PageFunctions.h"
#include "core/ReportFieldTable.h"
#include "platform/LargeBlocks.h"
#include "report/ReportForm.h"
#include "report/ReportController.h"
#include "report/DraftKeeper.h"
#include "report/MainWindow.h"
#include "core/BudgetReport.h"
#include "core/XmlDocumentAccess.h"
#include "store/Settings.h"
#include "ui/UserInterface.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <libxml/parser.h>
#include <libxslt/transform.h>
#include <libxslt/xsltutils.h>

#include <cstdio>

using namespace xml;

namespace {

// Answers everything at once, so a benchmark never waits for a person; anything shown is
// a sign the measured path is not the intended one, so it is reported.
class SilentUi : public ui::UserInterface {
public:
    void message(QWidget*, const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    bool question(QWidget*, const QString&) override { return true; }
    std::optional<QString> openFileName(QWidget*, const ui::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFileName(QWidget*, const ui::FileDialogRequest&) override { return std::nullopt; }
    void runModal(QDialog* dialog) override { dialog->hide(); }
    bool openInBrowser(const QString&) override { return true; }
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

XmlDocumentPtr load(const QString& path)
{
    QString error;
    XmlDocumentPtr doc = ReadXmlDocument(path, error);
    if (!error.isEmpty())
        qFatal("%s", qPrintable(error));
    return doc;
}

// A report with every field filled and figures that pass every budget rule.
XmlDocumentPtr filledReport(const QString& templatePath, const QString& longText)
{
    XmlDocumentPtr doc = load(templatePath);
    const XmlNode root = documentElement(doc);
    for (const auto& field : ReportFieldTable::fields()) {
        if (field.control.kind == ReportFieldTable::ControlKind::List)
            continue;
        if (!field.isNumeric())
            SetNodeText(root, field.xpath, field.place == ReportFieldTable::LabelPlace::Hidden
                                               ? longText
                                               : QStringLiteral("郑州市文物保护项目 ") + field.control.objectName());
    }
    SetNodeText(root, QStringLiteral("//Report/BasicInfo/ProjectID"), QStringLiteral("2006-001"));
    SetNodeText(root, QStringLiteral("//Report/BasicInfo/ProjectType"), QStringLiteral("12"));
    SetNodeText(root, QStringLiteral("//Report/FundDemand/Demand/Total"), QStringLiteral("1000.50"));
    SetNodeText(root, QStringLiteral("//Report/FundDemand/Demand/State/Year2006"), QStringLiteral("300.25"));
    SetNodeText(root, QStringLiteral("//Report/FundDemand/Demand/Local/Year2006"), QStringLiteral("200"));
    SetNodeText(root, QStringLiteral("//Report/BudgetDetail/RelicRepairment/Preparation/Total"), QStringLiteral("100"));
    SetNodeText(root, QStringLiteral("//Report/BudgetDetail/RelicRepairment/Preparation/State"), QStringLiteral("50.5"));
    return doc;
}

// The stylesheets call the exact-sum functions, so even the floor registers them.
xmlDocPtr applyStylesheet(xsltStylesheetPtr style, xmlDocPtr doc)
{
    xsltTransformContextPtr context = xsltNewTransformContext(style, doc);
    PageFunctions::registerOn(context);
    xmlDocPtr page = xsltApplyStylesheetUser(style, doc, nullptr, nullptr, nullptr, context);
    xsltFreeTransformContext(context);
    return page;
}

QString longTextOf(qsizetype bytes)
{
    // Chinese text with line breaks, three bytes a character in UTF-8.
    const QString line = QStringLiteral("现存主要问题：墙体开裂，屋面渗漏，木构件糟朽，需要尽快抢救性维修。\n");
    QString text;
    while (text.size() * 3 < bytes)
        text += line;
    return text.left(bytes / 3);
}

} // namespace

class BenchCommands : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    SilentUi silent_;
    Settings settings_;
    std::unique_ptr<MainWindow> window_;
    QString filledPath_;

    QString folder() const { return QDir::toNativeSeparators(dir_.path()) + folderSeparator(); }

    void writeFilled(const QString& longText)
    {
        QString error;
        QVERIFY(WriteXmlDocument(filledReport(folder() + QStringLiteral("report1.tpl"), longText), filledPath_, error));
    }

private slots:
    void initTestCase()
    {
        // As the program's own start does.
        platform::ReturnLargeBlocksToSystem();
        ui::install(&silent_);
        const QDir source(QStringLiteral(VANTREL_TEMPLATES_DIR));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), folder() + name);
        settings_ = Settings(folder());
        settings_.unitCode = QStringLiteral("410101");
        QVERIFY(settings_.save(nullptr));
        // The unit's file from the template, as the unit dialog writes it.
        XmlDocumentPtr unit = load(folder() + QStringLiteral("corpinfo.tpl"));
        SetNodeText(documentElement(unit), QStringLiteral("//CorpInfo/Basic/Name"), QStringLiteral("郑州市博物馆"));
        SetNodeText(documentElement(unit), QStringLiteral("//CorpInfo/ReportInfo/ReportUser"), QStringLiteral("张三"));
        QString error;
        QVERIFY(WriteXmlDocument(unit, folder() + QStringLiteral("410101.dw"), error));

        window_ = std::make_unique<MainWindow>(settings_);
        window_->start();
        filledPath_ = folder() + QStringLiteral("filled.xm");
        writeFilled(longTextOf(600));
    }

    void cleanupTestCase()
    {
        window_.reset();
        ui::install(nullptr);
    }

    void commandNew()
    {
        QBENCHMARK {
            window_->controller()->newReport();
        }
    }

    void commandOpen()
    {
        QBENCHMARK {
            window_->controller()->openReportFile(filledPath_);
        }
        QCOMPARE(window_->form()->value(QStringLiteral("projectCode")), QStringLiteral("2006-001"));
    }

    void floorOpen()
    {
        const QByteArray path = filledPath_.toLocal8Bit();
        QBENCHMARK {
            xmlFreeDoc(xmlReadFile(path.constData(), nullptr, XML_PARSE_NONET));
        }
    }

    void commandSave()
    {
        window_->controller()->openReportFile(filledPath_);
        QBENCHMARK {
            window_->controller()->saveReport();
        }
        QVERIFY(!window_->controller()->isModified());
    }

    void floorSave()
    {
        const QByteArray templatePath = (folder() + QStringLiteral("report1.tpl")).toLocal8Bit();
        const QByteArray stylePath = (folder() + QStringLiteral("report1.tps")).toLocal8Bit();
        const QByteArray filledBytes = readAll(filledPath_);
        xmlDocPtr filled = xmlReadMemory(filledBytes.constData(), int(filledBytes.size()), nullptr, nullptr, XML_PARSE_NONET);
        QBENCHMARK {
            // What every save must do, by the libraries alone: read the blank template,
            // serialise the filled document, read and compile the stylesheet (a save always
            // takes the installed one as it is now) and apply it.
            xmlFreeDoc(xmlReadFile(templatePath.constData(), nullptr, XML_PARSE_NONET));
            xsltStylesheetPtr style = xsltParseStylesheetDoc(xmlReadFile(stylePath.constData(), nullptr, XML_PARSE_NONET));
            xmlChar* mem = nullptr;
            int size = 0;
            xmlDocDumpMemoryEnc(filled, &mem, &size, "UTF-8");
            xmlFree(mem);
            xmlDocPtr page = applyStylesheet(style, filled);
            xmlChar* html = nullptr;
            int length = 0;
            xsltSaveResultToString(&html, &length, page, style);
            xmlFree(html);
            xmlFreeDoc(page);
            xsltFreeStylesheet(style);
        }
        xmlFreeDoc(filled);
    }

    void checkBudgetTotals()
    {
        window_->controller()->openReportFile(filledPath_);
        BudgetReport report = window_->controller()->report();
        QBENCHMARK {
            QVERIFY(report.checkBudget().ok());
        }
    }

    void showInForm()
    {
        BudgetReport report;
        QVERIFY(report.load(filledPath_).ok);
        QBENCHMARK {
            window_->form()->setValues(report.values());
        }
    }

    void reportToDocument()
    {
        window_->controller()->openReportFile(filledPath_);
        const BudgetReport& report = window_->controller()->report();
        const ReportHeader header = BudgetReport::headerForToday(settings_.unitCode, settings_.unitName,
                                                                 settings_.reportUser);
        const QString templatePath = folder() + QStringLiteral("report1.tpl");
        QBENCHMARK {
            QString error;
            QVERIFY(!report.serialize(templatePath, header, &error).isEmpty());
        }
    }

    void unitInfoDialogOpen()
    {
        QBENCHMARK {
            UnitInfoDialog dialog(settings_);
            dialog.allowCancel = true;
            dialog.prepare();
        }
    }

    void unitInfoSave()
    {
        UnitInfoDialog dialog(settings_);
        dialog.allowCancel = true;
        dialog.prepare();
        QBENCHMARK {
            QVERIFY(dialog.saveUnitInfo());
        }
    }

    void saveLongText_data()
    {
        QTest::addColumn<qsizetype>("bytes");
        QTest::newRow("1KB") << qsizetype(1024);
        QTest::newRow("100KB") << qsizetype(100 * 1024);
        QTest::newRow("1MB") << qsizetype(1024 * 1024);
        QTest::newRow("10MB") << qsizetype(10 * 1000 * 1000);
    }
    void saveLongText()
    {
        QFETCH(qsizetype, bytes);
        window_->controller()->newReport();
        ReportValues values;
        values.setValue(QStringLiteral("projectCode"), QStringLiteral("2006-002"));
        values.setValue(QStringLiteral("projectName"), QStringLiteral("长文本项目"));
        values.setValue(ReportForm::longTextField(1), longTextOf(bytes));
        window_->form()->setValues(values);
        QBENCHMARK {
            window_->controller()->saveReport();
        }
        QVERIFY(!window_->controller()->isModified());
    }

    // A draft of unsaved edits, made and written as the program does it (off its own thread).
    void draftWrite_data()
    {
        QTest::addColumn<qsizetype>("bytes");
        QTest::newRow("filled") << qsizetype(600);
        QTest::newRow("10MB") << qsizetype(10 * 1000 * 1000);
    }
    void draftWrite()
    {
        QFETCH(qsizetype, bytes);
        writeFilled(longTextOf(bytes));
        window_->controller()->openReportFile(filledPath_);
        DraftKeeper& drafts = window_->controller()->drafts();
        QBENCHMARK {
            drafts.edited();
            drafts.flush();
        }
        window_->controller()->newReport();
    }

    // The longest the program's own thread is held up while the clerk types for a few
    // seconds and drafts are written: a heartbeat every 2 ms measures the gaps.
    void typingStall_data() { draftWrite_data(); }
    void typingStall()
    {
        QFETCH(qsizetype, bytes);
        writeFilled(longTextOf(bytes));
        window_->controller()->openReportFile(filledPath_);
        QLineEdit* name = window_->form()->lineEdit(QStringLiteral("projectName"));
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        QTimer heartbeat;
        heartbeat.setTimerType(Qt::PreciseTimer);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        QTimer typing;
        QObject::connect(&typing, &QTimer::timeout, [name] { QTest::keyClick(name, Qt::Key_A); });
        QSignalSpy drafts(&window_->controller()->drafts(), &DraftKeeper::draftWritten);
        clock.start();
        heartbeat.start(2);
        typing.start(40);
        QTest::qWait(5000);
        typing.stop();
        heartbeat.stop();
        QVERIFY(!drafts.isEmpty());
        QTest::setBenchmarkResult(double(longest) / 1e6, QTest::WalltimeMilliseconds);
        window_->controller()->newReport();
    }

    void floorSaveLongText_data() { saveLongText_data(); }
    void floorSaveLongText()
    {
        QFETCH(qsizetype, bytes);
        XmlDocumentPtr doc = filledReport(folder() + QStringLiteral("report1.tpl"), longTextOf(bytes));
        const QByteArray templatePath = (folder() + QStringLiteral("report1.tpl")).toLocal8Bit();
        const QByteArray stylePath = (folder() + QStringLiteral("report1.tps")).toLocal8Bit();
        QBENCHMARK {
            xmlFreeDoc(xmlReadFile(templatePath.constData(), nullptr, XML_PARSE_NONET));
            xsltStylesheetPtr style = xsltParseStylesheetDoc(xmlReadFile(stylePath.constData(), nullptr, XML_PARSE_NONET));
            xmlChar* mem = nullptr;
            int size = 0;
            xmlDocDumpMemoryEnc(doc->handle(), &mem, &size, "UTF-8");
            xmlFree(mem);
            xmlDocPtr page = applyStylesheet(style, doc->handle());
            xmlChar* html = nullptr;
            int length = 0;
            xsltSaveResultToString(&html, &length, page, style);
            xmlFree(html);
            xmlFreeDoc(page);
            xsltFreeStylesheet(style);
        }
    }
};

QTEST_MAIN(BenchCommands)
#include "bench_commands.moc"
