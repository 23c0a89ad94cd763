/* Aligned vector moves assembled by the Windows build: see UnalignedMoveProbe.c. */
#ifndef TESSALUNE_UNALIGNED_MOVE_PROBE_H
#define TESSALUNE_UNALIGNED_MOVE_PROBE_H

void tessalune_move_sse2(double* p);   /* movapd: 2 doubles */
void tessalune_move_avx(double* p);    /* vmovapd: 4 doubles */
void tessalune_move_avx2(double* p);   /* vmovdqa: 4 doubles */
void tessalune_move_avx512(double* p); /* vmovaps, vmovdqa64, vmovdqa32: 8 doubles, twice */

#endif
