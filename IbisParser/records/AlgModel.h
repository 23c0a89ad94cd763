// The executables an [Algorithmic Model] block names, as read: one record
// per accepted Executable line, kept per model in a list, newest first, with
// the tree of its .ami file once that has been checked.
#pragma once

#include <cstdint>

struct AMITREE;

// Longest platform, compiler or file name kept; longer ones are reported and cut.
constexpr int ALGMOD_NAME_MAX = 44;

struct ALGMOD {
  ALGMOD* next;                        // next record of the same model's list
  char platform[ALGMOD_NAME_MAX + 1];  // «Windows» of «Windows_VisualStudio_32»
  char compiler[ALGMOD_NAME_MAX + 1];  // «VisualStudio»
  int32_t bits;                        // 32, 64, ...; -1 until read
  char codeFile[ALGMOD_NAME_MAX + 1];  // executable model file
  char amiFile[ALGMOD_NAME_MAX + 1];   // AMI parameter file
  AMITREE* tree;                       // the parsed .ami file, or null
  int32_t kind;                        // 1 Executable, 2 Executable_Rx, 3 Executable_Tx
};

// A model's list head. The model holds a null pointer until its first
// [Algorithmic Model] keyword; an existing head with no record is an empty block.
struct ALGMODLIST {
  ALGMOD* first;
};

// Releases every record of the list, their trees and the head; nulls *head.
void ALGMOD_FreeList(ALGMODLIST** head);
