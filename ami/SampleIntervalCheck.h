#pragma once

#include <cstdint>

class tessalune_tx;

// Where the bit time is a whole number of sample intervals to within this
// relative difference (rounding of the simulator's figures), the response
// filters keep the unit-interval grid samplesPerBit / bitTime, so that such
// runs give the same samples whatever the rounding.
constexpr double kWholeSampleIntervalsTolerance = 1e-9;

// Beyond this relative difference between the bit time and the whole number
// of sample intervals the emphasis delays use, AMI_Init says how far the
// emphasis taps then are from one and two unit intervals.
constexpr double kEmphasisTimingNote = 1e-3;

// The tap grid of the response filters, in samples per second, for
// samplesPerBit (the bit time over the sample interval, rounded): the
// simulator's own grid, 1 / sampleInterval, so that the analog response
// keeps its time scale on any grid; samplesPerBit / bitTime where the bit
// time is a whole number of sample intervals within
// kWholeSampleIntervalsTolerance, or where samplesPerBit is outside what the
// emphasis filter accepts (the run is refused then, as before).
double ResponseSampleRate(double sampleInterval, double bitTime, int32_t samplesPerBit);

// Appends one sentence when the bit time is farther than kEmphasisTimingNote
// from samplesPerBit sample intervals: the ratio, the whole number the
// emphasis delays use, and how far that puts the taps from one and two UI.
// Nothing for a samplesPerBit the emphasis filter refuses.
void NoteEmphasisTiming(tessalune_tx& model, double sampleInterval, double bitTime, int32_t samplesPerBit);

// Refuses a sample interval too coarse for the selected response filter to
// keep the response's area (model/ResponseArea.h), which would leave the
// output level wrong: appends a sentence that says by how much the taps miss
// the area and gives the largest sample interval that works (bit time / n'
// with n' samples per bit, n' the smallest count from which every finer one
// up to the model's limit works), or says that the bit time is too long for
// any. Returns true when the interval is fine.
//
// The filters are checked on the grid they were built on (the model's
// SampleRate), so a sample interval that is not a whole fraction of the bit
// time is judged as it runs. Only the selected response is checked: it alone
// reaches the output. The model must have been set up with a selection that
// names a response.
bool CheckSampleInterval(tessalune_tx& model, double sampleInterval);
