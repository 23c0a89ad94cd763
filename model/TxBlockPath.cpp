#include "model/TxBlockPath.h"

#include "model/tessalune_tx.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using OrvennModelBuilder::TimeResponseFIR;

double* TxBlockPath::Window::Append(size_t count) {
  if (end + count > history + ChunkSize) {
    std::memmove(data, data + (end - history), history * sizeof(double));
    end = history;
  }
  double* at = data + end;
  end += count;
  return at;
}

bool TxBlockPath::Prepare(const tessalune_tx& model) {
  active = false;
  if (!model.Ready) return false;

  // The response the network's multiplexers pass on; none makes every Run
  // fail, which the network reports itself.
  const TimeResponseFIR* selected = model.RoutedResponse();
  if (selected == nullptr) return false;
  const TimeResponseFIR& response = *selected;
  if (response.Taps == nullptr || response.NumTaps < 1 || response.Decimation != 1 || response.Interpolation != 1 ||
      response.DecimationPhase != 0)
    return false;

  const TXFIR_1pre2pst& filter = model.EmphasisFilter;
  if (filter.SamplesPerBit < 1 || filter.SamplesPerBit > TXFIR_1pre2pst::MaxSamplesPerBit) return false;
  // The weights the filter's firings use: the level's post weight, or, for a
  // setting that names no level, the weight the filter holds.
  postWeight = TXFIR_1pre2pst::PostWeightFor(filter.Setting, filter.PostWeight);
  mainWeight = TXFIR_1pre2pst::MainWeightFor(postWeight);

  const size_t n = size_t(filter.SamplesPerBit);
  const size_t count = size_t(response.NumTaps);
  try {
    // Zeros: the cleared delay lines and filter history of a fresh network.
    storage.assign(count + (2 * n + ChunkSize) + (count - 1 + ChunkSize), 0.0);
  } catch (...) {
    std::vector<double>().swap(storage);
    return false;  // the network needs no more memory than it has
  }
  std::copy(response.Taps, response.Taps + count, storage.begin());
  taps = storage.data();
  numTaps = uint32_t(count);
  samplesPerBit = n;
  inputs = Window{storage.data() + count, 2 * n, 2 * n};
  emphasis = Window{inputs.data + 2 * n + ChunkSize, count - 1, count - 1};
  lanes.Select(FIRLanes::Best());
  active = true;
  return true;
}

bool TxBlockPath::SelectLevel(FIRLanes::Level level) { return active && lanes.Select(level); }

void TxBlockPath::Process(double* wave, size_t count) {
  const size_t n = samplesPerBit;
  while (count > 0) {
    const size_t c = std::min(count, ChunkSize);
    double* in = inputs.Append(c);
    double* sum = emphasis.Append(c);
    std::copy(wave, wave + c, in);
    // The emphasis filter's two paths, n and 2n samples behind, and the
    // adder's sum of them: post path first, onto +0.0. Before the first
    // samples the input window holds zeros; paths of zeros sum to +0.0
    // whatever their signs, as the cleared delay lines do.
    const double* mainIn = in - n;
    const double* postIn = in - 2 * n;
    for (size_t i = 0; i < c; ++i) {
      const double mainPath = TXFIR_1pre2pst::MainPath(mainWeight, mainIn[i]);
      const double postPath = TXFIR_1pre2pst::PostPath(postWeight, postIn[i]);
      double out = 0.0;
      out = postPath + out;
      out = mainPath + out;
      sum[i] = out;
    }
    lanes.Filter(taps, numTaps, sum, wave, c);
    wave += c;
    count -= c;
  }
}
