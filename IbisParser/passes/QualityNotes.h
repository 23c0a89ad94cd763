// Quality notes that a checker can find mechanically (never more than a
// note: they are the IBIS Open Forum's quality checks, not the standard's
// rules): the two pins of a [Diff Pin] pair on one model, a model's
// [Voltage Range] corners in order, its pull-down and pull-up drive
// strengths in corner order (min the weak corner), [Pin] R_pin, L_pin and
// C_pin for every signal pin or none, a clamp's current not repeated in the
// [Pulldown] or [Pullup] table, a driver's timing test load and two
// waveforms per edge, and the header's [Date], [Source] and [Notes].
#pragma once

struct PARSE_CONTEXT;

// Runs the notes over the components and models of the file just read.
void QUAL_CheckFile(PARSE_CONTEXT& ctx);
