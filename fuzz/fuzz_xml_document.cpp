// Any bytes as a document file: load, read, change, save and load again.
#include "FuzzSupport.h"
#include "core/XmlDocumentAccess.h"

#include <array>

using namespace xml;

namespace {

const std::array<QString, 7> kPaths = {
    QStringLiteral("//Report/BasicInfo/ProjectName"),
    QStringLiteral("//Report/BasicInfo/ProjectType/@dict"),
    QStringLiteral("//Report/FundDemand/Demand/State/Year2006"),
    QStringLiteral("//Config/CorpID"),
    QStringLiteral("//CorpInfo/Basic/Name"),
    QStringLiteral("//*"),
    QStringLiteral("//@*"),
};

// Characters that need escaping, one outside the BMP and one outside GB2312.
const QString kValue = QStringLiteral(" A&B <公司> \"𠀀\" 镕 ]]> ");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::scratchFolder() + QStringLiteral("input.xm");
    const QString saved = fuzz::scratchFolder() + QStringLiteral("saved.xm");
    if (!fuzz::writeFile(path, reinterpret_cast<const char*>(data), size))
        fuzz::fail("cannot write the scratch file");

    QString error;
    XmlDocumentPtr doc = ReadXmlDocument(path, error);
    if (!doc)
        fuzz::fail("ReadXmlDocument returned no document");
    if (!error.isEmpty() && !error.startsWith(QStringLiteral("无法打开指定文件"))
        && !error.startsWith(QStringLiteral("文件格式错误:")))
        fuzz::fail("unexpected load message", error);

    const XmlNode root = documentElement(doc);
    for (const QString& xpath : kPaths) {
        const QString a = GetNodeText(root, xpath);
        const QString b = GetNodeText(documentNode(doc), xpath);
        if (a != b)
            fuzz::fail("document and root element disagree", xpath);
    }
    if (!error.isEmpty()) {
        QString saveError;
        if (WriteXmlDocument(doc, saved, saveError))
            fuzz::fail("a failed load was saved");
        return 0;
    }

    SetNodeText(root, kPaths[0], kValue);
    SetNodeText(root, kPaths[1], kValue);
    SetNodeText(root, QStringLiteral("//*[last()]"), kValue);

    std::array<QString, kPaths.size()> before;
    for (size_t i = 0; i < kPaths.size(); ++i)
        before[i] = GetNodeText(root, kPaths[i]);

    SerializeXmlDocument(doc);
    QString saveError;
    if (!WriteXmlDocument(doc, saved, saveError))
        return 0; // an encoding that cannot be written is refused cleanly
    QString againError;
    XmlDocumentPtr again = ReadXmlDocument(saved, againError);
    if (!againError.isEmpty())
        fuzz::fail("a saved document does not load again", againError);
    const XmlNode root2 = documentElement(again);
    for (size_t i = 0; i < kPaths.size(); ++i) {
        const QString after = GetNodeText(root2, kPaths[i]);
        if (after != before[i])
            fuzz::fail("a value changed on its way through a save", kPaths[i] + QStringLiteral(": ") + before[i].left(80)
                                                                          + QStringLiteral(" -> ") + after.left(80));
    }
    return 0;
}
