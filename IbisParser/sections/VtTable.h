// V-T tables of a model ([Rising Waveform], [Falling Waveform], [Composite
// Current]): the fixture subparameters before the rows, and the checks of a
// whole table and of the number of tables per model. IBIS 2.1 §6 [Rising
// Waveform], [Falling Waveform]; 4.0 row limit; 5.0 [Composite Current].
#pragma once

struct PARSE_CONTEXT;

#include <vector>

struct MODEL_TABLE;

// Reads a fixture line («R_fixture = 50», «V_fixture 0») of `table`; returns
// 0 when the line is not one (then it is a row). Unknown names print 5159,
// values that are not numbers 5151.
int VTT_FixtureLine(MODEL_TABLE* table, const char* text, const char* owner);

// The checks of a whole V-T table: R_fixture and V_fixture given (5158),
// rows (5157, 5156: 100 before 4.0, 1000 from 4.0 on).
void VTT_CheckTable(PARSE_CONTEXT& ctx, const MODEL_TABLE& table, const char* owner);

// At most 100 [Rising Waveform] and 100 [Falling Waveform] tables per model (5160).
void VTT_CheckCount(const std::vector<MODEL_TABLE>& tables, const char* owner, unsigned long modelLine);
