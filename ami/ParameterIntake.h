#pragma once

class AmiParameters;
class tessalune_tx;

// Paths of the model parameters in the AMI parameter string.
extern const char* const kEmphasisPath;  // "tessalune_tx.emphasis"
extern const char* const kVregPath;      // "tessalune_tx.Vreg"
extern const char* const kCornerPath;    // "tessalune_tx.corner"

// Reads emphasis, Vreg and corner, in that order, into the model. A
// parameter that is missing or not numeric keeps its default and adds one
// sentence to the model's message text; it never makes AMI_Init fail.
void ReadModelParameters(const AmiParameters& parameters, tessalune_tx& model);

// Appends one sentence for Vreg and one for corner when the value, rounded
// to the nearest integer as the model's converters round it, is not one of
// the indices 0, 1 and 2 that a response exists for (NaN and values beyond
// 32 bits included). Returns true when both select a response.
bool CheckResponseSelection(tessalune_tx& model);
