// The [Package] parasitics of a component as read.
#pragma once

struct RNG;

// One component's package: each triple null until its line was read.
struct PKG {
  RNG* rPkg;
  RNG* lPkg;
  RNG* cPkg;
};

// Releases the triples and the record; nulls *ppPkg.
void PKG_Free(PKG** ppPkg);
