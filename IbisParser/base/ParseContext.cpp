#include "IbisParser/base/ParseContext.h"

#include "amiparam/Msg.h"

PARSE_STATE gParse = {};
char gcCommentChar = '|';
int giIbisVersion = 0;
int giIbisRelease = 0;
int gbParseQuiet = 0;

PARSE_READING PARSE_SaveReading() {
  return PARSE_READING{gParse, gcCommentChar, giIbisVersion, giIbisRelease, gulLineNumber};
}

void PARSE_RestoreReading(const PARSE_READING& reading) {
  gParse = reading.file;
  gcCommentChar = reading.commentChar;
  giIbisVersion = reading.ibisVersion;
  giIbisRelease = reading.ibisRelease;
  gulLineNumber = reading.lineNumber;
}
