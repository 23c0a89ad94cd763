#include "IbisParser/records/ModelData.h"

void SUBMREC_FreeAll(SUBMODEL** ppList) {
  while (ppList && *ppList) {
    SUBMODEL* next = (*ppList)->next;
    delete *ppList;
    *ppList = next;
  }
}
