// The [Package] parasitics of a component as read.
#pragma once

struct RNG;

// One component's package: each triple null until its line was read.
struct PKG {
  RNG* rPkg;
  RNG* lPkg;
  RNG* cPkg;
};
