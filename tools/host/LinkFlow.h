// The IBIS-AMI reference flow for a transmitter and a receiver model (IBIS
// 7.2, Section 10, the reference flow of AMI models), chosen from what each
// model's .ami file says (Init_Returns_Impulse, GetWave_Exists,
// Use_Init_Output) and whether its library exports AMI_GetWave.
//
// Impulse responses: the channel's impulse response on the simulation grid
// goes to the transmitter's AMI_Init; what the transmitter returns (when
// Init_Returns_Impulse is True, else what it was given) goes to the
// receiver's AMI_Init, which returns the response through the channel and
// both models' equalisation.
//
// Waveform, in the four cases:
//   Tx GetWave, Rx GetWave:   stimulus -> Tx GetWave -> channel -> Rx GetWave
//   Tx Init-only, Rx GetWave: stimulus * (Tx Init's returned response, which
//                             holds the channel) -> Rx GetWave
//   Tx GetWave, Rx Init-only: stimulus -> Tx GetWave * (Rx Init's returned
//                             response, channel and receiver)
//   Tx Init-only, Rx Init-only: stimulus * (Rx Init's returned response,
//                             channel and both models)
// Without a receiver the waveform is the transmitter's (GetWave, or its
// Init's response) after the channel, as a receiver's input pins see it.
//
// One case would need the transmitter's equalisation taken out of the
// receiver's returned response: a transmitter that both returns an impulse
// response and has a GetWave, with an Init-only receiver (its GetWave output
// already holds the equalisation the returned response adds again). Rather
// than deconvolving, the host then hands the receiver's AMI_Init the
// channel's response itself, so that what it returns holds the channel and
// the receiver only; for a linear receiver the two are the same.
#pragma once

#include "tools/host/AmiFileParams.h"
#include "tools/host/AmiModelLoader.h"

#include <string>
#include <vector>

struct LinkModels {
  const AmiModelLoader* tx = nullptr;
  AmiReservedParameters txReserved;
  const AmiModelLoader* rx = nullptr;  // none: the eye is read at the receiver's input pins
  AmiReservedParameters rxReserved;
};

struct LinkFlow {
  // What sits between the two GetWave stages (or the stimulus and the sinks).
  enum class Between { kChannel, kTxInit, kRxInit };

  bool hasRx = false;
  bool txGetWave = true;
  bool rxGetWave = false;
  bool txReturnsImpulse = false;  // the Tx Init's returned response is used
  bool rxReturnsImpulse = false;
  bool rxInitGetsChannel = false;  // the Rx Init gets the channel's response, not the Tx's
  Between between = Between::kChannel;
  long ignoreBits = 0;             // the larger of the two models' Ignore_Bits
  std::vector<std::string> notes;  // what the .ami files say that the flow reads otherwise

  // The flow for `models`; false (with the reason) when a model cannot run.
  static bool Plan(const LinkModels& models, LinkFlow& flow, std::string& error);
  // The flow in words, for the report.
  std::string Describe() const;
};

// The instances of one run and what their AMI_Init calls gave.
struct LinkInstances {
  AmiInstance tx;
  AmiInstance rx;
  std::string txMessage;
  std::string rxMessage;
  // The taps (per sample) of the convolution between the GetWave stages when
  // it is an Init's returned response rather than the channel itself.
  std::vector<double> between;
};

// AMI_Init of the transmitter, then of the receiver, with `channelTaps`
// (the channel's impulse response per sample: its sum is the DC gain) as
// the flow says. False with `error` set when a model refuses; the instances
// the models opened are to be closed with CloseLink in any case.
bool InitLink(const LinkModels& models, const LinkFlow& flow, const std::vector<double>& channelTaps,
              double sampleInterval, double bitTime, const std::string& txParameters, const std::string& rxParameters,
              LinkInstances& link, std::string& error);

// AMI_Close of both; false with `error` set (when still empty) on a failure.
bool CloseLink(const LinkModels& models, LinkInstances& link, std::string& error);
