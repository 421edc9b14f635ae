#include "unitinfo/UnitInfoFolder.h"

#include "core/ReportFileNames.h"
#include "store/Module1.h"

QString UnitInfoFolder()
{
    return ReportFileNames::DataFolder(Module1::LocalFolder, Module1::ProgramFolder);
}
