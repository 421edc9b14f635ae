#include "unitinfo/UnitInfoFolder.h"

#include "core/ReportFileNames.h"
#include "store/Module1.h"

QString UnitInfoFolder()
{
    return Module1::LocalFolderOrDefault();
}
