// Text helpers of the cmn unit that the parameter-string layer and the IBIS
// file checker share: comparing two texts without regard to case, and the
// file name of a path.
#pragma once

// 1 when the two texts are equal once ASCII letters are folded to one case,
// else 0. Every other byte, bytes above 0x7F included, must match exactly.
// Each text ends at its first NUL, so a text equals no longer one that it
// begins. Neither text may be null.
int CMN_EqualNoCase(const char* a, const char* b);

// The last component of `path`: what follows its last '/' or '\' (the whole
// path when it holds neither, the empty text when it ends in one). Points
// into `path`, which must not be null.
const char* CMN_BaseName(const char* path);
