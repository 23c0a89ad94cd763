#include "IbisParser/records/Header.h"

#include "amiparam/Cmn.h"

#include <initializer_list>

void HDRREC_Free(HDR** ppHeader) {
  if (!ppHeader || !*ppHeader) return;
  HDR* header = *ppHeader;
  for (char** text : {&header->source, &header->notes, &header->disclaimer, &header->copyright})
    if (*text) CMN_Free(text);
  CMN_Free(ppHeader);
}
