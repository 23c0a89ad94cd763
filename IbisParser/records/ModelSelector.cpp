#include "IbisParser/records/ModelSelector.h"

void SEL_FreeAll(MODEL_SELECTOR** ppList) {
  while (ppList && *ppList) {
    MODEL_SELECTOR* next = (*ppList)->next;
    delete *ppList;
    *ppList = next;
  }
}
