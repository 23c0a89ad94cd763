#include "tools/linkbench/channel/ChannelFile.h"

#include "tools/linkbench/channel/Touchstone.h"

#include <cmath>
#include <cstdio>

bool ChannelFile::Load(const std::string& path, const ChannelResponse::Ports& ports, double bitTime, int samplesPerBit,
                       std::string& error) {
  path_ = path;
  bitTime_ = bitTime;
  TouchstoneNetwork network;
  if (!ReadTouchstoneFile(path, network, error, ChannelResponse::FileLimits())) return false;
  if (!response_.SetNetwork(network, ports, error) || !response_.Build(bitTime / samplesPerBit, error) ||
      !response_.CheckLossAt(0.5 / bitTime, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

long ChannelFile::DelaySamples() const {
  return response_.Dt() > 0 ? std::lround(response_.Delay() / response_.Dt()) : 0;
}

double ChannelFile::NyquistLossDb() const { return response_.LossDb(0.5 / bitTime_); }

std::vector<std::string> ChannelFile::Describe() const {
  char text[512];
  std::snprintf(text, sizeof text,
                "%s: %s, %.2f dB at Nyquist %s, delay %.4g ns (%.1f UI), energy before t = 0 %.3g; "
                "the eye is measured after it",
                path_.c_str(), response_.Name().c_str(), NyquistLossDb(), FormatHertz(0.5 / bitTime_).c_str(),
                response_.Delay() * 1e9, response_.Delay() / bitTime_, response_.PreT0Energy());
  std::vector<std::string> lines = {text};
  for (const std::string& note : response_.Notes()) lines.push_back("note: " + note);
  if (response_.PreT0Energy() > 1e-3)
    lines.push_back("warning: more than 0.1 % of the energy comes before t = 0: the data are not causal enough");
  return lines;
}
