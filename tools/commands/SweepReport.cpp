#include "tools/commands/SweepReport.h"

#include "tools/commands/RunReport.h"
#include "tools/commands/SweepBest.h"
#include "tools/commands/SweepReceiver.h"
#include "tools/commands/SweepTables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

SweepReport::SweepReport(const SweepOptions& o, const SweepHeader& header)
    : o_(o),
      axes_(header.axes),
      receiver_(header.receiver),
      channels_(header.channels),
      describe_(header.describe),
      across_(header.PerChannel()) {
  describe_.resize(channels_.size());
}

int SweepReport::AddChannel(const std::vector<const PointFigures*>& figures) {
  std::vector<SweepPoint> points(figures.size());
  for (size_t i = 0; i < figures.size(); ++i) {
    const std::vector<std::string> setting = Setting(i);
    points[i].emphasis = setting[0];
    points[i].vreg = setting[1];
    points[i].corner = setting[2];
    points[i].rxValue = setting[3];
    points[i].result = figures[i]->Result(o_.ber);
  }
  const size_t c = next_++;
  if (channels_.size() > 1) {
    std::printf("%schannel %zu of %zu: %s\n", c ? "\n" : "", c + 1, channels_.size(), channels_[c].c_str());
    for (const std::string& line : describe_[c]) std::printf("channel     %s\n", line.c_str());
    std::printf("\n");
  }
  const int failures = PrintTable(points, o_);
  PrintSummary(axes_, points, o_);
  if (o_.line.settings.WantsBer()) PrintBest(o_, axes_, BestPoints(axes_, points, o_.ber));
  if (o_.line.settings.WantsBer() && receiver_) PrintBestPair(axes_, points, o_.ber, o_.line.settings.bitTime);
  for (size_t i = 0; i < points.size() && i < across_.size(); ++i) {
    const BerTargetFigures* f = points[i].result.ber.At(o_.ber);
    const bool open = Measured(points[i]) && f && f->open;
    const double height = open ? f->heightV * 1e3 : 0.0;
    const double width = open ? f->widthUi * o_.line.settings.bitTime * 1e12 : 0.0;
    Across& a = across_[i];
    // A NaN stays (std::min would drop it and leave the starting value).
    a.leastHeight = std::isnan(height) ? height : std::min(a.leastHeight, height);
    a.leastWidth = std::isnan(width) ? width : std::min(a.leastWidth, width);
    a.sumHeight += height;
    a.sumWidth += width;
  }
  return failures;
}

std::vector<std::string> SweepReport::Setting(size_t i) const {
  const size_t level = (i / axes_.PerLevel()) % axes_.emphases.size(), j = i % axes_.PerLevel();
  const size_t rx = axes_.RxCount();
  return {axes_.emphases[level], axes_.vregs[j / (axes_.corners.size() * rx)],
          axes_.corners[(j / rx) % axes_.corners.size()], axes_.rxValues.empty() ? "" : axes_.rxValues[j % rx]};
}

int SweepReport::PrintAll(size_t points, const std::function<PointFigures(size_t)>& at) {
  const size_t perChannel = across_.size();
  std::vector<PointFigures> figures(perChannel);
  std::vector<const PointFigures*> channel(perChannel);
  int failures = 0;
  for (size_t first = 0; first + perChannel <= points && perChannel > 0; first += perChannel) {
    for (size_t i = 0; i < perChannel; ++i) {
      figures[i] = at(first + i);
      channel[i] = &figures[i];
    }
    failures += AddChannel(channel);
  }
  PrintAcross();
  return failures;
}

void SweepReport::PrintAcross() const {
  if (channels_.size() < 2 || !o_.line.settings.WantsBer()) return;
  const std::string target = StatisticalEye::BerText(o_.ber);
  const double n = static_cast<double>(channels_.size());
  std::printf("\nacross the %zu channels, per setting at BER %s (a closed eye or a failed run counts as 0):\n",
              channels_.size(), target.c_str());
  const bool rx = !axes_.rxValues.empty();
  std::printf("emphasis  Vreg  corner%s   worst height (mV)   worst width (ps)   mean height (mV)   mean width (ps)\n",
              rx ? "   rx value" : "");
  // The setting whose worst channel is best: the widest worst width; within
  // one phase step of it, the taller worst height.
  const double step = o_.line.settings.bitTime * 1e12 / SampleHistograms::kPhasesPerUi;
  double widest = 0;
  for (const Across& a : across_) widest = std::max(widest, a.leastWidth);
  size_t best = across_.size();
  for (size_t i = 0; i < across_.size(); ++i) {
    const Across& a = across_[i];
    const std::vector<std::string> setting = Setting(i);
    const std::string rxColumn =
        rx ? "   " + std::string(8 - std::min<size_t>(8, setting[3].size()), ' ') + setting[3] : std::string();
    std::printf("%8s  %4s  %6s%s   %17.1f   %16.1f   %16.1f   %15.1f\n", setting[0].c_str(), setting[1].c_str(),
                setting[2].c_str(), rxColumn.c_str(), a.leastHeight, a.leastWidth, a.sumHeight / n, a.sumWidth / n);
    if (widest > 0 && a.leastWidth > 0 && a.leastWidth >= widest - step &&
        (best == across_.size() || a.leastHeight > across_[best].leastHeight))
      best = i;
  }
  if (best == across_.size()) {
    std::printf("\nno setting keeps the eye open at BER %s on every channel\n", target.c_str());
    return;
  }
  const std::vector<std::string> setting = Setting(best);
  std::printf(
      "\nthe setting whose worst channel is best at BER %s (the widest worst eye; within 1/%d UI the taller wins): "
      "emphasis %s, Vreg %s, corner %s%s: worst width %.1f ps, worst height %.1f mV\n",
      target.c_str(), SampleHistograms::kPhasesPerUi, setting[0].c_str(), setting[1].c_str(), setting[2].c_str(),
      rx ? (", " + axes_.rxName + " " + setting[3]).c_str() : "", across_[best].leastWidth, across_[best].leastHeight);
}
