/* Never run: assembled with the project's flags so that a test can read back
 * what the assembler made of aligned vector moves to and from the stack. The
 * Windows build asks it to turn each of them into its unaligned twin; the
 * compiler cannot rewrite an asm statement, so only that option can. */
void tessalune_unaligned_move_probe(void) {
  __asm__ volatile(
      "vmovapd %%ymm0, 0x20(%%rsp)\n\t"
      "vmovaps 0x40(%%rbp), %%zmm1\n\t"
      "vmovdqa %%ymm2, (%%rsp)\n\t"
      "vmovdqa64 %%zmm3, -0x40(%%rbp)\n\t"
      "vmovdqa32 (%%rsp), %%zmm4\n\t"
      "movapd %%xmm5, 0x10(%%rsp)\n\t" ::
          : "memory");
}
