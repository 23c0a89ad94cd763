// The [Test Data] and [Test Load] sections: their names, types and the
// names they give ([Test Data]'s Driver_model, Driver_model_inv and
// Test_load), kept as plain records and checked once the file is read: the
// driver models are [Model]s of the file, the test load a [Test Load].
// IBIS 4.0 §6 (checked with the 4.2 set on).
#pragma once

#include "IbisParser/records/TestSection.h"

struct PARSE_CONTEXT;

#include <string>
#include <vector>

struct MODEL;

// A keyword or data line of a [Test Data] (`load` false) or [Test Load] section.
void TEST_Line(PARSE_CONTEXT& ctx, bool load, int kind, int id, const char* text);

// The names [Test Data] gives, against the file's models and test loads.
void TEST_CheckFile(PARSE_CONTEXT& ctx, const MODEL* models);
