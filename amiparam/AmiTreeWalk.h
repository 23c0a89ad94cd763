// Depth-first walk over a parse tree without recursion. A parameter text may
// nest lists far deeper than the call stack allows, so every walk over a tree
// keeps its own stack: one entry per open branch, holding the branch, the
// next child to visit and what the walker keeps for that branch (`Data`).
// Nothing else is kept per level, so memory stays linear in the depth.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "amiparam/AmiTree.h"

// What a visitor asks for after seeing one child.
enum class AmiWalkStep {
  kNext,   // go on with the child's next sibling
  kEnter,  // the child is a branch: visit its children first
  kStop,   // end the walk
};

// Visits the children of `top`, and of every branch entered below it, in text
// order. For each child (its body may be null):
//   visit(const AMINODE& child, int32_t index, const AMIBRANCH* parent,
//         const Data& parentData, Data& childData) -> AmiWalkStep
// where childData starts as Data{} and is kept for the child's children when
// the visitor enters it. Once every child of an entered branch (or of `top`)
// has been visited, leave(const AMIBRANCH* branch, const Data& data) is
// called. Returns false when a visitor stopped the walk.
template <typename Data, typename Visit, typename Leave>
bool AMITREE_Walk(const AMIBRANCH* top, Data topData, Visit&& visit, Leave&& leave) {
  struct Frame {
    const AMIBRANCH* branch;
    int32_t next;
    Data data;
  };
  if (!top) return true;
  std::vector<Frame> frames;
  frames.push_back(Frame{top, 0, std::move(topData)});
  while (!frames.empty()) {
    Frame& frame = frames.back();
    if (frame.next >= frame.branch->child_count || !frame.branch->children) {
      leave(frame.branch, frame.data);
      frames.pop_back();
      continue;
    }
    const int32_t index = frame.next++;
    const AMINODE& child = frame.branch->children[index];
    Data childData{};
    const AmiWalkStep step = visit(child, index, frame.branch, frame.data, childData);
    if (step == AmiWalkStep::kStop) return false;
    if (step == AmiWalkStep::kEnter && child.body && child.kind == AMINODE_BRANCH)
      frames.push_back(Frame{static_cast<const AMIBRANCH*>(child.body), 0, std::move(childData)});  // `frame` is stale
  }
  return true;
}

// The same walk with nothing to do when a branch is left.
template <typename Data, typename Visit>
bool AMITREE_Walk(const AMIBRANCH* top, Data topData, Visit&& visit) {
  return AMITREE_Walk(top, std::move(topData), std::forward<Visit>(visit), [](const AMIBRANCH*, const Data&) {});
}
