#include "IbisParser/records/TestSection.h"

void TEST_Free(std::vector<TEST_SECTION>** ppSections) {
  delete *ppSections;
  *ppSections = nullptr;
}
