#include "ami/SampleIntervalCheck.h"

#include "model/ResponseArea.h"
#include "model/TXFIR_1pre2pst.h"
#include "model/tessalune_tx.h"

#include <cmath>
#include <sstream>
#include <string>

namespace {

const char* PerBit(int32_t n) { return n == 1 ? " sample per bit" : " samples per bit"; }

// A fraction as a percentage with one decimal: "70.6%".
std::string Percent(double fraction) {
  std::ostringstream text;
  text.setf(std::ios::fixed);
  text.precision(1);
  text << fraction * 100.0 << '%';
  return text.str();
}

// Whether samplesPerBit is a count the emphasis filter's delay lines hold.
bool EmphasisTakes(int32_t samplesPerBit) {
  return samplesPerBit >= 1 && samplesPerBit <= TXFIR_1pre2pst::MaxSamplesPerBit;
}

// |bit time / sample interval - samplesPerBit| / samplesPerBit.
double WholeCountMismatch(double sampleInterval, double bitTime, int32_t samplesPerBit) {
  return std::fabs(bitTime / sampleInterval - samplesPerBit) / samplesPerBit;
}

}  // namespace

double ResponseSampleRate(double sampleInterval, double bitTime, int32_t samplesPerBit) {
  const double unitIntervalGrid = samplesPerBit / bitTime;
  if (!EmphasisTakes(samplesPerBit) ||
      WholeCountMismatch(sampleInterval, bitTime, samplesPerBit) <= kWholeSampleIntervalsTolerance)
    return unitIntervalGrid;
  return 1.0 / sampleInterval;
}

void NoteEmphasisTiming(tessalune_tx& model, double sampleInterval, double bitTime, int32_t samplesPerBit) {
  if (!EmphasisTakes(samplesPerBit) ||
      !(WholeCountMismatch(sampleInterval, bitTime, samplesPerBit) > kEmphasisTimingNote))
    return;
  // The main tap is samplesPerBit sample intervals behind the input, the
  // post tap twice that; one and two UI are where they belong.
  const double offset = samplesPerBit * sampleInterval - bitTime;
  const char* const side = offset < 0.0 ? " before " : " after ";
  std::ostringstream sentence;
  sentence << "The IBIS-AMI model, tessalune_tx, finds the bit time " << bitTime << " s to be "
           << bitTime / sampleInterval << " sample intervals of " << sampleInterval
           << " s; its emphasis delays use the nearest whole number, " << samplesPerBit << PerBit(samplesPerBit);
  sentence.precision(3);
  sentence << ", which puts its taps " << std::fabs(offset) << " s (" << Percent(std::fabs(offset) / bitTime)
           << " of a UI)" << side << "one UI and " << 2.0 * std::fabs(offset) << " s" << side << "two UI. ";
  model.MessageText += sentence.str();
}

bool CheckSampleInterval(tessalune_tx& model, double sampleInterval) {
  const int32_t k = model.SelectedResponse();
  if (k < 0) return false;
  const double deviation = ResponseAreaDeviation(model.Bank.R[k], k);
  if (deviation <= kResponseAreaTolerance) return true;

  const int32_t n = model.SamplesPerBitInt;
  const int32_t most = TXFIR_1pre2pst::MaxSamplesPerBit;
  const double bitTime = model.BitTime;
  std::ostringstream sentence;
  sentence << "The IBIS-AMI model, tessalune_tx, cannot use the sample interval " << sampleInterval
           << " s with the bit time " << bitTime << " s: at " << n << PerBit(n)
           << " the taps of its response filter miss the response's area by " << Percent(deviation) << " (at most "
           << kResponseAreaTolerance * 100.0 << "% is allowed).  ";
  const int32_t finer = CoarsestGridKeepingArea(k, n, bitTime, most);
  if (finer > 0) {
    sentence << "The largest sample interval that works is " << bitTime / finer << " s (" << finer << PerBit(finer)
             << "). ";
  } else {
    sentence << "The bit time " << bitTime << " s is too long for the response filters: they miss the area even at "
             << most << PerBit(most) << ", the most the model accepts (a sample interval of " << bitTime / most
             << " s). ";
  }
  model.MessageText += sentence.str();
  return false;
}
