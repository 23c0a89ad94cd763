#pragma once

#include "blocks/TimeResponseFIR.h"

#include <cstdint>

// How closely a response filter keeps the area of the response it samples.
//
// The filter's taps are the response sampled on the tap grid times the grid
// step, so their sum is a Riemann sum of the response's area, and a constant
// input settles at that sum. On a fine grid the sum stays within 1.3 % of
// the area (what remains is the interpolating cubics between the table's
// points); once the step nears the width of the response's peak (about
// 80 ps) the grid straddles the peak or lands on it and the sum is off by
// tens of percent, more above 40 ps. The relation is not monotonic: a coarse
// grid can meet the area by chance.

// Largest relative deviation of the tap sum from the area that the model
// accepts: above the fine-grid floor of every table, with margin.
constexpr double kResponseAreaTolerance = 0.02;

// |sum of the filter's taps - area of table k| / area of table k.
double ResponseAreaDeviation(const OrvennModelBuilder::TimeResponseFIR& filter, int k);

// The deviation of table k on the grid of samplesPerBit samples per bit of
// bitTime, with a filter configured as the model configures its bank;
// infinity when the model builds no bank there (a rate that is not positive
// or above tessalune_tx::MaxSampleRate) or the filter cannot be built.
double ResponseAreaDeviationOnGrid(int k, int32_t samplesPerBit, double bitTime);

// The smallest samples per bit above samplesPerBit from which every count up
// to maxSamplesPerBit keeps table k within kResponseAreaTolerance (so any
// finer grid the model accepts works too); 0 when maxSamplesPerBit itself
// does not.
int32_t CoarsestGridKeepingArea(int k, int32_t samplesPerBit, double bitTime, int32_t maxSamplesPerBit);
