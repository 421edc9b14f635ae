#include "unitinfo/UnitInfoFolder.h"

#include "store/Module1.h"

QString UnitInfoFolder()
{
    return Module1::LocalFolderOrDefault();
}
