#include "IbisParser/records/Board.h"

#include "IbisParser/base/RecordList.h"

void EBDREC_FreeAll(BOARD** ppList) { LIST_DeleteAll(ppList); }
