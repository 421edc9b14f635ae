// Any bytes opened as a report in the main window, moved into the form and back onto a
// fresh template with the budget checks, as a save does.
#include "WindowFuzzSupport.h"
#include "report/ReportController.h"
#include "report/frmMain.h"

using namespace Module1;
using namespace xml;

namespace {

frmMain& window()
{
    static frmMain* w = [] {
        fuzz::windowSetup();
        auto* main = new frmMain;
        main->M_FileNew_Click();
        if (!fuzz::windowSetup().texts.isEmpty())
            fuzz::fail("a new report did not start", fuzz::windowSetup().texts.join(QLatin1Char('|')));
        return main;
    }();
    return *w;
}

// The form written onto a fresh template; empty when a check refused it.
QByteArray formOnTemplate(frmMain& w)
{
    w.controller()->ReportDocument = LoadXmlDocument(ProgramFolder + QStringLiteral("report1.tpl"));
    if (!GetLastErrorText().isEmpty())
        fuzz::fail("the report template does not load", GetLastErrorText());
    w.controller()->ReportRoot = documentElement(w.controller()->ReportDocument);
    if (!w.controller()->TransferReportFields(true))
        return {};
    return SerializeXmlDocument(w.controller()->ReportDocument);
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
    frmMain& w = window();
    fuzz::SilentUi& ui = fuzz::windowSetup();
    ui.texts.clear();

    const QString path = fuzz::windowFolder() + QStringLiteral("opened.xm");
    if (!fuzz::writeFile(path, reinterpret_cast<const char*>(data), size))
        fuzz::fail("cannot write the scratch file");
    const QStringList before = fuzz::snapshot(w);
    w.controller()->ReportFileName = path;
    w.controller()->LoadReport();
    if (!ui.texts.isEmpty()) {
        // A file that does not load says so once and leaves the form as it was.
        if (ui.texts != QStringList{QStringLiteral("报表文件错误，请重新建立")})
            fuzz::fail("a failed open showed", ui.texts.join(QLatin1Char('|')));
        if (fuzz::snapshot(w) != before)
            fuzz::fail("a failed open changed the form");
        return 0;
    }

    const QByteArray saved = formOnTemplate(w);
    if (saved.isEmpty()) {
        if (ui.texts.size() != 1)
            fuzz::fail("a refused save did not show exactly one message", ui.texts.join(QLatin1Char('|')));
        return 0;
    }
    if (!ui.texts.isEmpty())
        fuzz::fail("a passing save showed a message", ui.texts.join(QLatin1Char('|')));

    // What a save writes opens again, passes the same checks and saves to the same bytes.
    const XmlDocumentPtr reopened = ParseXmlText(saved);
    if (!GetLastErrorText().isEmpty())
        fuzz::fail("a saved report does not load", GetLastErrorText());
    w.controller()->ReportDocument = reopened;
    w.controller()->ReportRoot = documentElement(reopened);
    w.controller()->TransferReportFields(false);
    const QByteArray again = formOnTemplate(w);
    if (!ui.texts.isEmpty())
        fuzz::fail("a saved report fails its checks when opened again", ui.texts.join(QLatin1Char('|')));
    if (again != saved)
        fuzz::fail("a saved report changes when opened and saved again",
                   QString::fromUtf8(saved) + QStringLiteral("\n----\n") + QString::fromUtf8(again));
    return 0;
}
