#include "amiparam/MsgCatalogue.h"

// Sorted by code; keep it so (a test checks the order).
const MSG_ROW gaMsgCatalogue[] = {
    {0, "Error code doesn't exist."},
    {1906, "Memory allocation failed.  This request %u.\n"},
    {1907, "Memory reallocation failed.  This request %u.\n"},
    {1908, "Unable to Allocate Memory: %s %d"},
};

const size_t gulMsgCatalogueSize = sizeof(gaMsgCatalogue) / sizeof(gaMsgCatalogue[0]);

const char* MSG_Lookup(int code) {
  size_t low = 0;
  size_t high = gulMsgCatalogueSize;  // one past the last candidate
  while (low < high) {
    size_t mid = low + (high - low) / 2;
    if (gaMsgCatalogue[mid].code == code) return gaMsgCatalogue[mid].text;
    if (gaMsgCatalogue[mid].code < code) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return nullptr;
}
