/* Aligned vector moves, one function per instruction set, each copying the
 * vector at p to p + 8 doubles (the AVX-512 one also to p + 16). An asm
 * statement is beyond the compiler's reach: only the assembler option of the
 * Windows build turns these moves into their unaligned twins, which then
 * also work on addresses that are only 8- or 16-byte aligned, as a 32- or
 * 64-byte slot on MinGW's 16-byte-aligned stack can be. A test reads the
 * assembled moves back with objdump; UnalignedMoveRun.c runs them. */
#include "UnalignedMoveProbe.h"

void tessalune_move_sse2(double* p) {
  __asm__ volatile("movapd (%0), %%xmm0\n\tmovapd %%xmm0, 0x40(%0)" : : "r"(p) : "xmm0", "memory");
}

void tessalune_move_avx(double* p) {
  __asm__ volatile("vmovapd (%0), %%ymm0\n\tvmovapd %%ymm0, 0x40(%0)\n\tvzeroupper" : : "r"(p) : "xmm0", "memory");
}

void tessalune_move_avx2(double* p) {
  __asm__ volatile("vmovdqa (%0), %%ymm0\n\tvmovdqa %%ymm0, 0x40(%0)\n\tvzeroupper" : : "r"(p) : "xmm0", "memory");
}

void tessalune_move_avx512(double* p) {
  __asm__ volatile("vmovaps (%0), %%zmm0\n\tvmovdqa64 %%zmm0, 0x40(%0)\n\tvmovdqa32 %%zmm0, 0x80(%0)\n\tvzeroupper"
                   :
                   : "r"(p)
                   : "xmm0", "memory");
}
