#include "tools/commands/RunReport.h"

#include <cstdio>

namespace RunReport {

std::string Fixed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string EyeSummary(const EyeMeasurement& e) {
  if (!e.valid) return "eye not measured: " + e.problem;
  return "height " + Fixed("%.1f", e.heightV * 1e3) + " mV, width " + Fixed("%.1f", e.WidthSeconds() * 1e12) + " ps (" +
         Fixed("%.3f", e.widthUi) + " UI)";
}

std::string BerFigures(const BerTargetFigures& f, double bitTime) {
  if (!f.open) return "closed";
  return "height " + Fixed("%.1f", f.heightV * 1e3) + " mV, width " + Fixed("%.1f", f.widthUi * bitTime * 1e12) +
         " ps (" + Fixed("%.3f", f.widthUi) + " UI)";
}

std::string BerSummary(const BerTargetFigures& f, double bitTime) {
  return "BER " + StatisticalEye::BerText(f.ber) + ": " + BerFigures(f, bitTime);
}

std::string ChannelCaption(const SimSettings& s) {
  if (s.channel) {
    const std::string& path = s.channel->Path();
    return ", after " + path.substr(path.find_last_of('/') + 1) + " (" + Fixed("%.1f", s.channel->NyquistLossDb()) +
           " dB)";
  }
  if (s.channelLossDb > 0) return ", after a " + Fixed("%.3g", s.channelLossDb) + " dB RC channel";
  return {};
}

int ReportFile(bool written, const char* command, const char* label, const std::string& path,
               const std::string& error) {
  if (written) {
    std::printf("%-11s %s\n", label, path.c_str());
    return 0;
  }
  std::fprintf(stderr, "%s: %s\n", command, error.c_str());
  return 1;
}

const char* NoisePlace(NoiseReferral::Path path) {
  switch (path) {
    case NoiseReferral::Path::kThroughResponse:
      return "receiver's input pins (flat from DC to the bit rate), carried to its decision point through its "
             "AMI_Init response";
    case NoiseReferral::Path::kNoResponse:
      return "receiver's decision point, after its equalisation: its AMI_Init returns no impulse response to "
             "carry input noise through (output-referred)";
    case NoiseReferral::Path::kAtDecision:
      return "receiver's decision point, after its equalisation (--noise-at decision)";
    case NoiseReferral::Path::kNoReceiver:
      break;
  }
  return "receiver input (flat from DC to the bit rate)";
}

NoiseReferral::Path NoisePath(const SimSettings& settings, bool rxInitReturnsImpulse) {
  return ReceiverNoise::PathFor(!settings.rxModelPath.empty(), settings.noiseAt, rxInitReturnsImpulse);
}

std::string NoiseFigures(const NoiseReferral& noise) {
  return Fixed("%.4g", noise.inputMv) + " mV RMS at the input, " + Fixed("%.3g", noise.decisionMv) +
         " mV RMS at the decision point";
}

}  // namespace RunReport
