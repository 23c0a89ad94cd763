// Fuzz target: arbitrary bytes as the content of an .ami file, read by the
// .ami mode of the per-file check, parsed and checked; the same lines are fed
// to an [Algorithmic Model] block. Must never crash, hang or leak.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "IbisParser/Parse.h"
#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/base/ParseContext.h"
#include "amiparam/Msg.h"

namespace {

std::string TempPath() { return "/tmp/fuzz_amicheck_" + std::to_string(::getpid()) + ".ami"; }

void FeedBlock(const uint8_t* data, size_t size) {
  PARSE_CONTEXT ctx;
  ALGMODLIST* head = nullptr;
  ALGMOD_BeginBlock(ctx, "[Algorithmic Model]", &head);
  std::string line;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == '\n') {
      ALGMOD_AddLine(ctx, line.c_str(), head);  // stops at an embedded NUL, as a C line would
      line.clear();
    } else {
      line.push_back(static_cast<char>(data[i]));
    }
  }
  ALGMOD_EndBlock(ctx, head);
  ALGMOD_FreeList(&head);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FILE* sink = std::fopen("/dev/null", "w");
  static const std::string path = TempPath();
  gpMsgStream = sink;
  gbParseQuiet = 1;

  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  ALGMOD_CheckAmiFile(path.c_str());
  if (size < 4096) FeedBlock(data, size);
  return 0;
}
