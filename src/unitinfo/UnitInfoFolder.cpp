#include "unitinfo/UnitInfoFolder.h"

#include "store/Module1.h"

QString UnitInfoFolder()
{
    return Module1::LocalFolder.isEmpty() ? Module1::ProgramFolder : Module1::LocalFolder;
}
