// Rows of the four-column tables of a model: I-V tables ([Pulldown],
// [Pullup], [GND Clamp], [POWER Clamp], [ISSO PD], [ISSO PU], [Series
// Current], [Series MOSFET]) and the rows of V-T tables, each an
// independent value (voltage or time) and typ, min, max; and the checks of a
// whole I-V table. IBIS 2.1 §6 (I-V tables), 3.2 §6 (V-T tables).
#pragma once

struct PARSE_CONTEXT;

struct MODEL_TABLE;

// Reads one row into `table`, reporting the row's faults: column count
// (5150), the independent value not a number (5151), a column neither a
// number nor NA (5152), the independent value repeating (5154) or turning
// back (5155), the last two once per table. `owner` names the model.
void TABLE_ReadRow(MODEL_TABLE* table, const char* text, const char* owner);

// The ends of a table: an inner typ value may be NA, the first and last rows
// give numbers (5153); a min or max column that holds numbers gives them in
// its first and last rows too (5161, a warning).
void TABLE_CheckEnds(const MODEL_TABLE& table, const char* owner);

// Turns a table read with descending voltage into ascending order, for the
// checks that interpolate it.
void TABLE_SortAscending(MODEL_TABLE* table);

// The checks of a whole I-V table: at least 2 rows (5157), at most 100
// (5156).
void TABLE_CheckIvTable(PARSE_CONTEXT& ctx, const MODEL_TABLE& table, const char* owner);

// A column value: 1 a number (in *value), 2 NA, 0 neither.
int TABLE_Value(const char* word, double* value);
