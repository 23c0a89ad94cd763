#include "IbisParser/records/ModelData.h"

void SUBM_FreeAll(SUBMODEL** ppList) {
  while (ppList && *ppList) {
    SUBMODEL* next = (*ppList)->next;
    delete *ppList;
    *ppList = next;
  }
}
