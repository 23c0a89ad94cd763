#include "amiparam/Cmn.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "amiparam/CmnText.h"
#include "amiparam/Msg.h"

namespace {

// Requests still allowed before the test hook makes them fail; negative: off.
// Threads that allocate at the same time draw on it one request each.
std::atomic<long> glAllocBudget{-1};

// One allocation request: false when the test hook says the heap is empty.
bool RequestAllowed() {
  long budget = glAllocBudget.load(std::memory_order_relaxed);
  while (budget > 0 && !glAllocBudget.compare_exchange_weak(budget, budget - 1, std::memory_order_relaxed)) {
  }
  return budget != 0;  // off, or one request taken from the budget
}

}  // namespace

void CMN_FailAllocationsAfter(long count) { glAllocBudget.store(count < 0 ? -1 : count); }

void CMN_AssertFailed(const char* file, int line) {
  std::fprintf(stdout, "%s:%d:assertion failed.\n", CMN_BaseName(file ? file : "?"), line);
  std::fflush(stdout);
  std::abort();
}

int CMN_Alloc(void** ppBlock, size_t size) {
  CMN_ASSERT(ppBlock != nullptr);
  CMN_ASSERT(size != 0);
  void* block = RequestAllowed() ? std::calloc(1, size) : nullptr;
  *ppBlock = block;
  if (!block) {
    MSG_Error(1906, static_cast<unsigned>(size));
    return 0;
  }
  return 1;
}

int CMN_Realloc(void** ppBlock, size_t size) {
  CMN_ASSERT(ppBlock != nullptr);
  CMN_ASSERT(*ppBlock != nullptr);
  CMN_ASSERT(size != 0);
  void* block = RequestAllowed() ? std::realloc(*ppBlock, size) : nullptr;
  if (!block) {
    // The old block is still valid and stays with the caller, who can
    // release it together with whatever it refers to.
    MSG_Error(1907, static_cast<unsigned>(size));
    return 0;
  }
  *ppBlock = block;
  return 1;
}

void CMN_Free(void** ppBlock) {
  CMN_ASSERT(ppBlock != nullptr);
  CMN_ASSERT(*ppBlock != nullptr);
  std::free(*ppBlock);
  *ppBlock = nullptr;
}

char* CMN_StrDup(const char* text) {
  if (!text) return nullptr;
  size_t length = std::strlen(text);
  char* copy = nullptr;
  if (!CMN_Alloc(&copy, length + 1)) {
    MSG_Bug(1908, CMN_BaseName(__FILE__), __LINE__);
    return nullptr;
  }
  std::memcpy(copy, text, length + 1);
  return copy;
}

char* CMN_SubStr(const char* start, size_t count) {
  CMN_ASSERT(start != nullptr || count == 0);
  if (count == static_cast<size_t>(-1) || !RequestAllowed()) return nullptr;
  char* copy = static_cast<char*>(std::calloc(1, count + 1));
  if (!copy) return nullptr;
  for (size_t i = 0; i < count && start[i] != '\0'; ++i) copy[i] = start[i];
  return copy;
}

int CMN_IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

void CMN_SkipSpace(const char** ppCursor) {
  CMN_ASSERT(ppCursor != nullptr);
  CMN_ASSERT(*ppCursor != nullptr);
  const char* p = *ppCursor;
  while (*p != '\0' && CMN_IsSpace(static_cast<unsigned char>(*p))) ++p;
  *ppCursor = p;
}

void CMN_SkipSpace(char** ppCursor) {
  CMN_ASSERT(ppCursor != nullptr);
  const char* p = *ppCursor;
  CMN_SkipSpace(&p);
  *ppCursor = const_cast<char*>(p);
}
