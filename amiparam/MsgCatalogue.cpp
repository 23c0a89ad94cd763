#include "amiparam/MsgCatalogue.h"

// Sorted by code; keep it so (a test checks the order).
const MSG_ROW gaMsgCatalogue[] = {
    {0, "Error code doesn't exist."},
    {921, "IBIS files should not contain tab characters."},
    {922, "Unable to Allocate Memory: %s %d"},
    {923, "Description line in AMI file (at line no %d) is greater than %d characters"},
    {1906, "Memory allocation failed.  This request %u.\n"},
    {1907, "Memory reallocation failed.  This request %u.\n"},
    {1908, "Unable to Allocate Memory: %s %d"},
    {1924, "File Name Requires '.ami' Extension."},
    {4600, "Expected a branch but found '%s'  as a leaf of '%s'"},
    {4601, "Algorithmic Model: Already Defined for this model"},
    {4602, "Unable to Allocate Memory: %s %d"},
    {4603, "Should Not Be Here: %s, %d"},
    {4605, "Incorrect Number of Line Items (%d) For %s: Expecting %d"},
    {4606, "The Number of Bits should be 32 or 64 for Platform %s and Compiler %s for Algorithmic Model defined on line %d"},
    {4607, "Duplicate Sub-Parameter: Platform %s Compiler %s Bits %d for Algorithmic Model defined on line %d"},
    {4609, "Unknown Line in Algorithmic Model"},
    {4610, "Could not parse Platform, Compiler, Bits  for [Algorithmic Model] Executable Sub-parameter"},
    {4611, "Platform name too long %s"},
    {4612, "Compiler name too long %s"},
    {4613, "Could not parse the Bits in %s for [Algorithmic Model] Executable Sub-parameter"},
    {4614, "Filename too long %s"},
    {4615, "Empty [Algorithmic Model] defined for Model %s"},
    {4616, "Code file %s not found. It was defined in [Algorithmic Model] for Model %s"},
    {4617, "AMI Parameter file %s should have '.ami' extension. It was defined in [Algorithmic Model] for Model %s"},
    {4618, "AMI parameter file %s not found. It was defined in [Algorithmic Model] for Model %s"},
    {4619, "The AMI parameter file has mismatched parenthesis"},
    {4620, "The AMI parameter file should start with a parenthesis"},
    {4621, "Internal error while parsing AMI Parameter file"},
    {4622, "No Reserved_Parameters found"},
    {4623, "Unknown branch %s found"},
    {4624, "Unknown parameter %s found as a child of %s"},
    {4625, "%s parameter is mandatory"},
    {4626, "%s: Illegal format for %s"},
    {4627, "Illegal %s value %s specified for %s"},
    {4628, "Found a branch %s expecting a leaf for %s"},
    {4629, "Unexpected parameter %s specified for %s"},
    {4630, "Parameter %s is mandatory for %s"},
    {4632, "%s: Illegal Format for %s. Expected %d number(s)"},
    {4634, "Invalid syntax of branch or leaf. At least 2 elements expected in a list"},
    {4635, "Too few nodes in branches or leaves"},
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
