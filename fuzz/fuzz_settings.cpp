// Any bytes as config.pz (and, after a separator line, as the unit information file).
#include "FuzzSupport.h"
#include "store/Module1.h"

using namespace Module1;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SilentUi silent;
    ui::install(&silent);
    ProgramFolder = fuzz::scratchFolder();
    UnitCode.clear();
    LocalFolder.clear();
    UnitName.clear();
    UnitReportUser.clear();

    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype cut = input.indexOf("\n--8<--\n");
    const QByteArray settings = cut < 0 ? input : input.left(cut);
    const QByteArray unitInfo = cut < 0 ? QByteArray() : input.mid(cut + 8);
    QFile::remove(ProgramFolder + QStringLiteral("config.pz"));
    fuzz::writeFile(ProgramFolder + QStringLiteral("config.pz"), settings.constData(), settings.size());

    int result = LoadSettings();
    if (result < -1 || result > 1)
        fuzz::fail("LoadSettings result out of range");
    // The unit file is looked for beside the program only; never follow a path from the input.
    if (result == UnitInfoMissing && LocalFolder.isEmpty() && IsSafeFileNamePart(UnitCode) && !unitInfo.isEmpty()) {
        const QString unitFile = ProgramFolder + UnitCode + QStringLiteral(".dw");
        fuzz::writeFile(unitFile, unitInfo.constData(), unitInfo.size());
        result = LoadSettings();
        QFile::remove(unitFile);
        if (result == SettingsMissing)
            fuzz::fail("settings vanished on the second load");
    }
    if (result == SettingsMissing && !UnitCode.isEmpty() && IsSafeFileNamePart(UnitCode))
        fuzz::fail("a usable unit code counted as missing settings", UnitCode);

    // What was read is written back and read again unchanged.
    const QString code = UnitCode;
    const QString folder = LocalFolder;
    if (code.isEmpty() || !IsSafeFileNamePart(code))
        return 0;
    silent.texts.clear();
    SaveSettings();
    if (!silent.texts.isEmpty())
        return 0; // refused with its message (a name the file system will not take)
    UnitCode.clear();
    LocalFolder.clear();
    LoadSettings();
    if (UnitCode != code || LocalFolder != folder)
        fuzz::fail("settings changed on their way through a save", code + QStringLiteral(" | ") + UnitCode);
    return 0;
}
