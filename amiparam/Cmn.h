// Common utilities of the parser layer: checked, zero-filled allocation,
// string copies, whitespace handling and the assertion convention.
//
// Blocks handed out here come from the process heap and are released with
// CMN_Free, which nulls the caller's pointer. Allocation failures are
// reported through the message catalogue (codes 1906, 1907, 1908) and
// returned as 0 / null; they never end the process.
#pragma once

#include <cstddef>

// Broken precondition in the calling code: prints "FILE:LINE:assertion failed."
// on standard output, flushes it and aborts the process.
[[noreturn]] void CMN_AssertFailed(const char* file, int line);

#define CMN_ASSERT(cond)                               \
  do {                                                 \
    if (!(cond)) CMN_AssertFailed(__FILE__, __LINE__); \
  } while (0)

// Stores a new zero-filled block of `size` bytes in *ppBlock. Returns 1, or
// 0 after storing null and emitting error 1906. ppBlock != null, size != 0.
int CMN_Alloc(void** ppBlock, size_t size);

// Resizes the block held in *ppBlock to `size` bytes, keeping its contents up
// to the smaller size (bytes beyond the old size are not cleared). Returns 1,
// or 0 after emitting error 1907; on failure the caller's block stays where
// it was, untouched and still owned by the caller, so nothing is lost.
// ppBlock != null, *ppBlock != null, size != 0.
int CMN_Realloc(void** ppBlock, size_t size);

// Releases the block held in *ppBlock and stores null. ppBlock != null and
// *ppBlock != null.
void CMN_Free(void** ppBlock);

// Typed forms, so callers write CMN_Alloc(&pNode, n) for any pointer type.
template <typename T>
int CMN_Alloc(T** ppBlock, size_t size) {
  void* block = nullptr;
  int ok = CMN_Alloc(ppBlock ? &block : nullptr, size);
  *ppBlock = static_cast<T*>(block);
  return ok;
}

template <typename T>
int CMN_Realloc(T** ppBlock, size_t size) {
  void* block = ppBlock ? const_cast<void*>(static_cast<const void*>(*ppBlock)) : nullptr;
  int ok = CMN_Realloc(ppBlock ? &block : nullptr, size);
  *ppBlock = static_cast<T*>(block);
  return ok;
}

template <typename T>
void CMN_Free(T** ppBlock) {
  void* block = ppBlock ? const_cast<void*>(static_cast<const void*>(*ppBlock)) : nullptr;
  CMN_Free(ppBlock ? &block : nullptr);
  *ppBlock = nullptr;
}

// New copy of `text` (from CMN_Alloc), or null for a null text. On exhausted
// memory emits program bug 1908 (after the 1906 of CMN_Alloc), returns null.
char* CMN_StrDup(const char* text);

// New text of at most `count` characters copied from `start`, stopping early
// at a NUL, always terminated. Null (without a message) on exhausted memory.
char* CMN_SubStr(const char* start, size_t count);

// Non-zero for blank, tab, newline, vertical tab, form feed and carriage
// return. Any other value, including bytes above 0x7F, is not whitespace.
int CMN_IsSpace(int c);

// Advances *ppCursor past whitespace. A run of more than 120 characters is
// not an error: the cursor always ends on the first character that is not
// whitespace (or on the terminating NUL). ppCursor and *ppCursor != null.
void CMN_SkipSpace(char** ppCursor);
void CMN_SkipSpace(const char** ppCursor);

// Test support: after `count` more successful requests, every CMN_Alloc,
// CMN_Realloc and CMN_SubStr request fails as if the heap were exhausted,
// until the hook is reset with a negative count (the default). Lets tests
// reach every out-of-memory path; costs one comparison per request.
void CMN_FailAllocationsAfter(long count);
