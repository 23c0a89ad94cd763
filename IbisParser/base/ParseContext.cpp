#include "IbisParser/base/ParseContext.h"

#include "IbisParser/base/KeywordTables.h"
#include "amiparam/Cmn.h"

int gbParseQuiet = 0;

PARSE_CONTEXT::PARSE_CONTEXT() : PARSE_STATE{} {
  tabReportArmed = 1;
  currentKeyword = KEY_NOT_KEY;
  sectionKeyword = KEY_NOT_KEY;
}

PARSE_CONTEXT::~PARSE_CONTEXT() {
  if (gpszAmiText) CMN_Free(&gpszAmiText);
}
