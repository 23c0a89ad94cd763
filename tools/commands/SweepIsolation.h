// A sweep's points each in a child process of its own (IsolatedRun), for
// models of others: one that crashes, calls exit() or hangs past the time
// limit fails its point alone, with how it ended as the point's error, and
// the sweep goes on.
//
// The children are forked from this one thread, which then watches them
// with poll(): no thread runs while a child is made, so none can hold a lock
// the child would need. A child runs its point and hands back its figures as
// its record's JSON (the figures bit for bit), which the tables and records
// are made from as in a sweep on threads.
#pragma once

#include "tools/commands/SweepPoints.h"
#include "tools/host/IsolatedRun.h"

#include <functional>
#include <vector>

// Runs `points`, at most `jobs` children at once; `done` gets each point as
// it finishes. Points to be drawn are run again in this process for their
// eye densities, once their child has come back with figures. Returns the
// wall time in seconds.
double RunIsolatedPoints(const LinkModels& models, const SimSettings& s, double ber, std::vector<SweepPoint>& points,
                         unsigned jobs, const IsolationLimits& limits,
                         const std::function<void(const SweepPoint&)>& done = {});

// The result of a point whose child did not return, as its error says.
SimResult FailedInChild(const IsolatedOutcome& outcome, const IsolationLimits& limits);
