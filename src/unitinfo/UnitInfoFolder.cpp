#include "unitinfo/UnitInfoFolder.h"

#include "store/Module1.h"

QString UnitInfoFolder()
{
    if (Module1::LocalFolder.isEmpty())
        return Module1::ProgramFolder;
    // A folder just typed or picked in the settings has no separator at its end yet.
    if (!Module1::LocalFolder.endsWith(Module1::folderSeparator()))
        return Module1::LocalFolder + Module1::folderSeparator();
    return Module1::LocalFolder;
}
