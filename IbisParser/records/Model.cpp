#include "IbisParser/records/Model.h"

#include "IbisParser/records/AlgModel.h"
#include "IbisParser/records/ModelData.h"
#include "amiparam/Cmn.h"

void MODELREC_FreeAll(MODEL** ppList) {
  while (ppList && *ppList) {
    MODEL* next = (*ppList)->next;
    if ((*ppList)->name) CMN_Free(&(*ppList)->name);
    ALGMOD_FreeList(&(*ppList)->algModList);
    delete (*ppList)->data;
    CMN_Free(ppList);
    *ppList = next;
  }
}
