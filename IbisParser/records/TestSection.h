// A [Test Data] or [Test Load] section as read.
#pragma once

#include <string>
#include <vector>

struct MODEL;

struct TEST_SECTION {
  bool load = false;  // [Test Load], else [Test Data]
  std::string name, type;
  std::string driverModel, driverModelInv, testLoad;  // [Test Data] only
  unsigned long line = 0;
  unsigned long driverLine = 0, driverInvLine = 0, testLoadLine = 0;
};

// Releases the sections of a file (gParse.testSections); nulls *ppSections.
void TESTREC_Free(std::vector<TEST_SECTION>** ppSections);
