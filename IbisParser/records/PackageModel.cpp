#include "IbisParser/records/PackageModel.h"

#include "IbisParser/base/RecordList.h"

void PKGM_FreeAll(PACKAGE_MODEL** ppList) { LIST_DeleteAll(ppList); }
