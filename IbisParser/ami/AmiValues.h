// The values an .ami parameter's data format allows, held against each
// other: a Range's or Increment's min not above its max, typ within them,
// and a Default the format allows (IBIS 5.1 §10 on); and the names of a
// branch's sub-branches, each once (6.0 on).
#pragma once

struct AMIBRANCH;
struct PARSE_CONTEXT;

// Checks parameter branch `param` (its Format or data format leaf and its
// Default) when the tree is read for AMI 5.1 or later (ctx.amiRelease).
void AMIVAL_CheckParameter(const PARSE_CONTEXT& ctx, const AMIBRANCH* param);

// Reports each sub-branch of `branch` whose name an earlier sub-branch has
// (IBIS 6.0 §10 on; .ami names are case sensitive).
void AMIVAL_CheckNames(const PARSE_CONTEXT& ctx, const AMIBRANCH* branch);
