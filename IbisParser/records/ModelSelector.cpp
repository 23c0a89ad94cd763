#include "IbisParser/records/ModelSelector.h"

void SELREC_FreeAll(MODEL_SELECTOR** ppList) {
  while (ppList && *ppList) {
    MODEL_SELECTOR* next = (*ppList)->next;
    delete *ppList;
    *ppList = next;
  }
}
