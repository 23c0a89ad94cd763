#pragma once

class tessalune_tx;

// Refuses a sample interval too coarse for the selected response filter to
// keep the response's area (model/ResponseArea.h), which would leave the
// output level wrong: appends a sentence that says by how much the taps miss
// the area and gives the largest sample interval that works (bit time / n'
// with n' samples per bit, n' the smallest count from which every finer one
// up to the model's limit works), or says that the bit time is too long for
// any. Returns true when the interval is fine.
//
// Only the selected response is checked: it alone reaches the output. The
// model must have been set up with a selection that names a response.
bool CheckSampleInterval(tessalune_tx& model, double sampleInterval);
