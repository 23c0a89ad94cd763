#include "IbisParser/records/PackageModel.h"

#include "IbisParser/base/RecordList.h"

void PKGMREC_FreeAll(PACKAGE_MODEL** ppList) { LIST_DeleteAll(ppList); }
