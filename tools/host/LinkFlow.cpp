#include "tools/host/LinkFlow.h"

#include <algorithm>

namespace {

// Whether a model's GetWave takes part: its file says so (or says nothing)
// and its library has one. False with `error` when the file promises one the
// library lacks.
bool UsesGetWave(const AmiModelLoader& model, const AmiReservedParameters& r, const char* side, std::string& error) {
  if (r.getWaveGiven && r.getWaveExists && !model.HasGetWave()) {
    error = std::string(side) + " model says GetWave_Exists True but its library exports no AMI_GetWave";
    return false;
  }
  return r.getWaveExists && model.HasGetWave();
}

// A model with neither a GetWave nor an impulse response it returns has no
// part in any flow: nothing of its equalisation would reach the eye.
bool HasAFlow(bool getWave, const AmiReservedParameters& r, const char* side, std::string& error) {
  if (getWave || (r.initReturnsImpulse && r.useInitOutput)) return true;
  error = std::string(side) +
          " model neither returns an impulse response from AMI_Init (Init_Returns_Impulse False, or Use_Init_Output "
          "False) nor processes the waveform in AMI_GetWave (GetWave_Exists False, or no AMI_GetWave): no flow "
          "exists for it";
  return false;
}

// A model's returned impulse response counts when it says it returns one
// and (before AMI_Version 6.0, where the parameter lived) that it is to be
// used.
bool ReturnsImpulse(const AmiReservedParameters& r) { return r.initReturnsImpulse && r.useInitOutput; }

// Impulse response per sample to the AMI impulse (per second) and back.
std::vector<double> ToAmi(const std::vector<double>& taps, double dt) {
  std::vector<double> impulse(taps.size());
  for (size_t i = 0; i < taps.size(); ++i) impulse[i] = taps[i] / dt;
  return impulse;
}

std::vector<double> ToTaps(const std::vector<double>& impulse, double dt) {
  std::vector<double> taps(impulse.size());
  for (size_t i = 0; i < impulse.size(); ++i) taps[i] = impulse[i] * dt;
  return taps;
}

// Why an AMI_Init counts as failed: the model said so, or it said success
// and left something undone.
std::string InitFailure(const AmiInstance& instance) {
  return instance.initProblem.empty() ? "reported failure" : instance.initProblem;
}

}  // namespace

bool LinkFlow::Plan(const LinkModels& models, LinkFlow& flow, std::string& error) {
  flow = LinkFlow();
  if (!models.tx) {
    error = "no transmitter model";
    return false;
  }
  flow.txGetWave = UsesGetWave(*models.tx, models.txReserved, "the transmitter", error);
  if (!error.empty() || !HasAFlow(flow.txGetWave, models.txReserved, "the transmitter", error)) return false;
  if (!models.txReserved.ignoreBitsNote.empty())
    flow.notes.push_back(std::string(models.rx ? "the transmitter's " : "") + models.txReserved.ignoreBitsNote);
  flow.txReturnsImpulse = ReturnsImpulse(models.txReserved);
  flow.ignoreBits = models.txReserved.ignoreBits;
  flow.hasRx = models.rx != nullptr;
  if (flow.hasRx) {
    flow.rxGetWave = UsesGetWave(*models.rx, models.rxReserved, "the receiver", error);
    if (!error.empty() || !HasAFlow(flow.rxGetWave, models.rxReserved, "the receiver", error)) return false;
    if (!models.rxReserved.ignoreBitsNote.empty())
      flow.notes.push_back("the receiver's " + models.rxReserved.ignoreBitsNote);
    flow.rxReturnsImpulse = ReturnsImpulse(models.rxReserved);
    flow.ignoreBits = std::max(flow.ignoreBits, models.rxReserved.ignoreBits);
    flow.rxInitGetsChannel = flow.txGetWave && flow.txReturnsImpulse && !flow.rxGetWave;
  }
  if (flow.hasRx && !flow.rxGetWave)
    flow.between = Between::kRxInit;
  else if (!flow.txGetWave)
    flow.between = Between::kTxInit;
  return true;
}

std::string LinkFlow::Describe() const {
  const std::string tx = txGetWave ? "Tx GetWave" : "Tx Init-only";
  std::string text;
  if (!hasRx) {
    text = txGetWave ? "Tx GetWave -> channel" : "stimulus * Tx Init's impulse response (channel and Tx)";
  } else if (txGetWave && rxGetWave) {
    text = "Tx GetWave -> channel -> Rx GetWave";
  } else if (rxGetWave) {
    text = "stimulus * Tx Init's impulse response (channel and Tx) -> Rx GetWave";
  } else if (txGetWave) {
    text = "Tx GetWave -> * Rx Init's impulse response (channel and Rx)";
  } else {
    text = "stimulus * Rx Init's impulse response (channel, Tx and Rx)";
  }
  if (hasRx) text = tx + ", " + (rxGetWave ? "Rx GetWave" : "Rx Init-only") + ": " + text;
  if (rxInitGetsChannel) text += " (the Rx Init given the channel's response, without the Tx's equalisation)";
  if (ignoreBits > 0) text += "; the first " + std::to_string(ignoreBits) + " bits ignored";
  for (const std::string& note : notes) text += "; note: " + note;
  return text;
}

bool InitLink(const LinkModels& models, const LinkFlow& flow, const std::vector<double>& channelTaps,
              double sampleInterval, double bitTime, const std::string& txParameters, const std::string& rxParameters,
              LinkInstances& link, std::string& error) {
  const std::vector<double> channel = ToAmi(channelTaps, sampleInterval);
  if (!models.tx->Init(link.tx, channel, sampleInterval, bitTime, txParameters, link.txMessage)) {
    error = std::string(flow.hasRx ? "the transmitter's " : "") + "AMI_Init " + InitFailure(link.tx);
    return false;
  }
  // What the transmitter hands on: its returned response, or the channel's.
  const std::vector<double>& afterTx = flow.txReturnsImpulse ? link.tx.impulse : channel;
  if (flow.between == LinkFlow::Between::kTxInit) link.between = ToTaps(afterTx, sampleInterval);
  if (!flow.hasRx) return true;
  const std::vector<double>& rxInput = flow.rxInitGetsChannel ? channel : afterTx;
  if (!models.rx->Init(link.rx, rxInput, sampleInterval, bitTime, rxParameters, link.rxMessage)) {
    error = "the receiver's AMI_Init " + InitFailure(link.rx);
    return false;
  }
  if (flow.between == LinkFlow::Between::kRxInit)
    link.between = ToTaps(flow.rxReturnsImpulse ? link.rx.impulse : rxInput, sampleInterval);
  return true;
}

bool CloseLink(const LinkModels& models, LinkInstances& link, std::string& error) {
  bool ok = true;
  if (models.rx && !models.rx->Close(link.rx)) {
    ok = false;
    if (error.empty()) error = "the receiver's AMI_Close reported failure";
  }
  if (models.tx && !models.tx->Close(link.tx)) {
    ok = false;
    if (error.empty())
      error = models.rx ? "the transmitter's AMI_Close reported failure" : "AMI_Close reported failure";
  }
  return ok;
}
