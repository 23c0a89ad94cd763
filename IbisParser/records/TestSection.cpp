#include "IbisParser/records/TestSection.h"

void TESTREC_Free(std::vector<TEST_SECTION>** ppSections) {
  delete *ppSections;
  *ppSections = nullptr;
}
