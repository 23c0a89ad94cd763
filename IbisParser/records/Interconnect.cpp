#include "IbisParser/records/Interconnect.h"

#include "IbisParser/base/RecordList.h"

void ICM_FreeAll(INTERCONNECT_SET** ppList) { LIST_DeleteAll(ppList); }
