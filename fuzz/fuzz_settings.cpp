// Any bytes as config.pz (and, after a separator line, as the unit information file),
// read, checked and written back with core alone.
#include "FuzzSupport.h"
#include "core/HoldingsRules.h"
#include "core/SettingsFile.h"
#include "core/UnitInfoFile.h"
#include "core/XmlDocumentAccess.h"

using namespace xml;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = fuzz::scratchFolder();
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype cut = input.indexOf("\n--8<--\n");
    const QByteArray settingsBytes = cut < 0 ? input : input.left(cut);
    const QByteArray unitInfoBytes = cut < 0 ? QByteArray() : input.mid(cut + 8);

    // The unit file: whatever it holds, reading and checking it ends with an answer.
    if (!unitInfoBytes.isEmpty()) {
        const UnitInfoFile unitInfo = ReadUnitInfoBytes(unitInfoBytes, QStringLiteral("unit.dw"));
        if (unitInfo.ok != unitInfo.error.isEmpty())
            fuzz::fail("unit file: ok and error disagree", unitInfo.error);
        const HoldingsRuleResult holdings = CheckHoldingsRules(unitInfo.values);
        if (holdings.brokenRule < 0 || holdings.brokenRule > 5 || holdings.ok() != holdings.message.isEmpty())
            fuzz::fail("holdings result out of range", holdings.message);
    }

    QFile::remove(SettingsFile::FileName(folder));
    if (!fuzz::writeFile(SettingsFile::FileName(folder), settingsBytes.constData(), settingsBytes.size()))
        fuzz::fail("cannot write the scratch file");
    const SettingsFile::Values read = SettingsFile::Read(folder);
    const SettingsFile::Values parsed = SettingsFile::Parse(settingsBytes, SettingsFile::FileName(folder));
    if (read.ok != parsed.ok || read.unitCode != parsed.unitCode || read.localFolder != parsed.localFolder)
        fuzz::fail("the file and its bytes read differently");
    if (read.ok != read.error.isEmpty())
        fuzz::fail("settings: ok and error disagree", read.error);
    if (!read.localFolder.isEmpty() && !read.localFolder.endsWith(folderSeparator()))
        fuzz::fail("the local folder does not end in a separator", read.localFolder);
    if (!read.ok || read.unitCode.isEmpty() || !IsSafeFileNamePart(read.unitCode))
        return 0;

    // What was read is written back and read again unchanged.
    QString error;
    if (!SettingsFile::Write(folder, read.unitCode, read.localFolder, error))
        return 0; // refused with its message
    const SettingsFile::Values again = SettingsFile::Read(folder);
    if (!again.ok || again.unitCode != read.unitCode || again.localFolder != read.localFolder)
        fuzz::fail("settings changed on their way through a save", read.unitCode + QStringLiteral(" | ") + again.unitCode);
    if (SettingsFile::Parse(SettingsFile::Serialize(read.unitCode, read.localFolder), QString()).unitCode != read.unitCode)
        fuzz::fail("the settings bytes do not read back");
    return 0;
}
