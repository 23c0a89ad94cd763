// The names a [Component] gives to sections outside it: its [Package Model]
// and [Alternate Package Models], the [Circuit Call] blocks with their
// pins and port maps and the [Node Declarations] they may use (4.1 on),
// and its [Interconnect Model Group] entries (7.0 on). Read with the
// component; checked once the whole file is read, since the package
// models, external circuits and interconnect model sets they name may
// follow the component or stand in a .pkg file beside it.
#pragma once

#include "IbisParser/records/ComponentLinks.h"

struct PARSE_CONTEXT;

#include <string>
#include <vector>

#include "IbisParser/base/LineWords.h"

struct COMPONENT;

// Keyword and data lines of [Package Model], [Alternate Package Models],
// [Node Declarations], [Circuit Call] and [Interconnect Model Group] and
// their [End ...] keywords, for `component`. Returns 1 when the line was one of these.
int LINKS_Line(COMPONENT* component, int kind, int id, const char* text);

// The checks over the whole file: every package model a component names is
// defined in the file or in a .pkg file beside it; every circuit call names
// an [External Circuit] of the file, its pins are pins of [Pin], its ports
// ports of the circuit and their targets pins or declared nodes; every
// interconnect model group entry names a set that is defined.
void LINKS_CheckFile(PARSE_CONTEXT& ctx);
