// Any bytes opened as a report in the main window, taken from the form and checked and
// written onto a fresh template, as a save does; what is written opens and saves the same.
#include "WindowFuzzSupport.h"
#include "core/BudgetReport.h"
#include "core/XmlDocumentAccess.h"
#include "report/MainWindow.h"
#include "report/ReportController.h"
#include "report/ReportForm.h"

using namespace xml;

namespace {

MainWindow& window()
{
    static MainWindow* w = [] {
        fuzz::windowSetup();
        auto* main = new MainWindow(fuzz::settings());
        main->controller()->newReport();
        if (!fuzz::windowSetup().texts.isEmpty())
            fuzz::fail("a new report did not start", fuzz::windowSetup().texts.join(QLatin1Char('|')));
        return main;
    }();
    return *w;
}

// The form as a save writes it onto a fresh template; empty when a check refuses it.
QByteArray formOnTemplate(MainWindow& w)
{
    BudgetReport report = w.controller()->report();
    if (!report.checkBudget().ok() || !report.textLengthRefusal().isEmpty())
        return {};
    const Settings& settings = fuzz::settings();
    QString error;
    const QByteArray bytes = report.serialize(
        settings.programFile(QStringLiteral("report1.tpl")),
        BudgetReport::headerForToday(settings.unitCode, settings.unitName, settings.reportUser), &error);
    if (!error.isEmpty())
        fuzz::fail("the report template does not load", error);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    window();
    fuzz::warmUp("report1.tpl", LLVMFuzzerTestOneInput);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MainWindow& w = window();
    fuzz::SilentUi& ui = fuzz::windowSetup();
    ui.texts.clear();

    const QString path = fuzz::windowFolder() + QStringLiteral("opened.xm");
    if (!fuzz::writeFile(path, reinterpret_cast<const char*>(data), size))
        fuzz::fail("cannot write the scratch file");
    w.form()->buildAllTabs();
    const QStringList before = fuzz::snapshot(w);
    w.controller()->openReportFile(path);
    if (!ui.texts.isEmpty()) {
        // A file that does not load says so once and leaves the form as it was.
        if (ui.texts != QStringList{QStringLiteral("报表文件错误，请重新建立")})
            fuzz::fail("a failed open showed", ui.texts.join(QLatin1Char('|')));
        if (fuzz::snapshot(w) != before)
            fuzz::fail("a failed open changed the form");
        return 0;
    }

    const QByteArray saved = formOnTemplate(w);
    if (saved.isEmpty())
        return 0;

    // What a save writes opens again, passes the same checks and saves to the same bytes.
    QString error;
    const XmlDocumentPtr reopened = ParseXmlBytes(saved, QString(), error);
    if (!error.isEmpty())
        fuzz::fail("a saved report does not load", error);
    BudgetReport again;
    again.setDocument(reopened);
    w.form()->setValues(again.values());
    const QByteArray resaved = formOnTemplate(w);
    if (resaved.isEmpty())
        fuzz::fail("a saved report fails its checks when opened again");
    if (resaved != saved)
        fuzz::fail("a saved report changes when opened and saved again",
                   QString::fromUtf8(saved) + QStringLiteral("\n----\n") + QString::fromUtf8(resaved));
    return 0;
}
