#include "IbisParser/records/Package.h"

#include "IbisParser/base/Rng.h"
#include "amiparam/Cmn.h"

#include <initializer_list>

void PKG_Free(PKG** ppPkg) {
  if (!ppPkg || !*ppPkg) return;
  for (RNG** triple : {&(*ppPkg)->rPkg, &(*ppPkg)->lPkg, &(*ppPkg)->cPkg})
    if (*triple) CMN_Free(triple);
  CMN_Free(ppPkg);
}
