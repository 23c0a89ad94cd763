#include "IbisParser/records/AlgModel.h"

#include "amiparam/AmiTree.h"
#include "amiparam/Cmn.h"

void ALGMOD_FreeList(ALGMODLIST** head) {
  if (!head || !*head) return;
  ALGMOD* rec = (*head)->first;
  while (rec) {
    ALGMOD* next = rec->next;
    if (rec->tree) AMITREE_Free(&rec->tree);
    CMN_Free(&rec);
    rec = next;
  }
  CMN_Free(head);
}
