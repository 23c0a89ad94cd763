#include "IbisParser/records/Component.h"

#include "IbisParser/records/Package.h"
#include "amiparam/Cmn.h"

void COMPREC_FreeAll(COMPONENT** ppList) {
  while (ppList && *ppList) {
    COMPONENT* next = (*ppList)->next;
    if ((*ppList)->name) CMN_Free(&(*ppList)->name);
    PKG_Free(&(*ppList)->package);
    delete *ppList;
    *ppList = next;
  }
}
