// Any bytes as the unit information file, loaded into the unit information dialog and
// written back onto a fresh template with the holdings checks, as Save does.
#include "WindowFuzzSupport.h"
#include "core/XmlDocumentAccess.h"
#include "unitinfo/UnitInfoDialog.h"

using namespace xml;

namespace {

UnitInfoDialog& dialog()
{
    static UnitInfoDialog* d = [] {
        fuzz::windowSetup();
        auto* made = new UnitInfoDialog(fuzz::settings());
        made->allowCancel = true;
        return made;
    }();
    return *d;
}

// The dialog written onto a fresh template; empty when a check refused it.
QByteArray dialogOnTemplate(UnitInfoDialog& d)
{
    QString error;
    d.document = ReadXmlDocument(fuzz::settings().programFile(QStringLiteral("corpinfo.tpl")), error);
    if (!error.isEmpty())
        fuzz::fail("the unit information template does not load", error);
    if (!d.transferFields(true))
        return {};
    return SerializeXmlDocument(d.document);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    dialog();
    fuzz::warmUp("corpinfo.tpl", LLVMFuzzerTestOneInput);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    UnitInfoDialog& d = dialog();
    fuzz::SilentUi& ui = fuzz::windowSetup();
    ui.texts.clear();

    const QString path = d.unitInfoFileName(false);
    if (!fuzz::writeFile(path, reinterpret_cast<const char*>(data), size))
        fuzz::fail("cannot write the scratch file");
    d.loadUnitInfo();
    if (!ui.texts.isEmpty()) {
        // A file that does not load is named once and the template is shown instead.
        if (ui.texts.size() != 1 || !ui.texts.first().endsWith(QStringLiteral(",配置文件错误，使用模板重新创建")))
            fuzz::fail("a failed load showed", ui.texts.join(QLatin1Char('|')));
        ui.texts.clear();
    }
    if (d.textBox(QStringLiteral("Text1"))->text() != fuzz::settings().unitCode)
        fuzz::fail("the unit code box does not show the unit code");

    const QByteArray saved = dialogOnTemplate(d);
    if (saved.isEmpty()) {
        if (ui.texts.size() != 1)
            fuzz::fail("a refused save did not show exactly one message", ui.texts.join(QLatin1Char('|')));
        return 0;
    }
    if (!ui.texts.isEmpty())
        fuzz::fail("a passing save showed a message", ui.texts.join(QLatin1Char('|')));

    // What Save writes loads again, passes the holdings checks and saves to the same bytes.
    QString error;
    const XmlDocumentPtr reopened = ParseXmlBytes(saved, QString(), error);
    if (!error.isEmpty())
        fuzz::fail("a saved unit file does not load", error);
    d.document = reopened;
    d.transferFields(false);
    if (!d.checkHoldings())
        fuzz::fail("saved holdings fail their checks when loaded again", ui.texts.join(QLatin1Char('|')));
    const QByteArray again = dialogOnTemplate(d);
    if (!ui.texts.isEmpty())
        fuzz::fail("a saved unit file fails its checks when loaded again", ui.texts.join(QLatin1Char('|')));
    if (again != saved)
        fuzz::fail("a saved unit file changes when loaded and saved again",
                   QString::fromUtf8(saved) + QStringLiteral("\n----\n") + QString::fromUtf8(again));
    return 0;
}
