#include "IbisParser/records/Interconnect.h"

#include "IbisParser/base/RecordList.h"

void ICMREC_FreeAll(INTERCONNECT_SET** ppList) { LIST_DeleteAll(ppList); }
