#include "IbisParser/records/External.h"

#include "IbisParser/base/RecordList.h"

void EXTREC_FreeAll(EXTERNAL** ppList) { LIST_DeleteAll(ppList); }
