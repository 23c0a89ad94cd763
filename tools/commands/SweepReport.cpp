#include "tools/commands/SweepReport.h"

#include "tools/commands/RunReport.h"
#include "tools/commands/SweepBest.h"
#include "tools/commands/SweepTables.h"

#include <cstdio>

SweepReport::SweepReport(const SweepOptions& o, const SweepHeader& header)
    : o_(o), axes_(header.axes), channels_(header.channels), describe_(header.describe), across_(header.PerChannel()) {
  describe_.resize(channels_.size());
}

int SweepReport::AddChannel(const std::vector<const PointFigures*>& figures) {
  std::vector<SweepPoint> points(figures.size());
  for (size_t i = 0; i < figures.size(); ++i) {
    const size_t level = i / axes_.PerLevel(), j = i % axes_.PerLevel();
    points[i].emphasis = axes_.emphases[level];
    points[i].vreg = axes_.vregs[j / axes_.corners.size()];
    points[i].corner = axes_.corners[j % axes_.corners.size()];
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
  for (size_t i = 0; i < points.size() && i < across_.size(); ++i) {
    const BerTargetFigures* f = points[i].result.ber.At(o_.ber);
    const bool open = Measured(points[i]) && f && f->open;
    const double height = open ? f->heightV * 1e3 : 0.0;
    const double width = open ? f->widthUi * o_.line.settings.bitTime * 1e12 : 0.0;
    Across& a = across_[i];
    a.leastHeight = std::min(a.leastHeight, height);
    a.leastWidth = std::min(a.leastWidth, width);
    a.sumHeight += height;
    a.sumWidth += width;
  }
  return failures;
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
  std::printf("emphasis  Vreg  corner   worst height (mV)   worst width (ps)   mean height (mV)   mean width (ps)\n");
  // The setting whose worst channel is best: the widest worst width; within
  // one phase step of it, the taller worst height.
  const double step = o_.line.settings.bitTime * 1e12 / SampleHistograms::kPhasesPerUi;
  double widest = 0;
  for (const Across& a : across_) widest = std::max(widest, a.leastWidth);
  size_t best = across_.size();
  for (size_t i = 0; i < across_.size(); ++i) {
    const Across& a = across_[i];
    const size_t level = i / axes_.PerLevel(), j = i % axes_.PerLevel();
    std::printf("%8s  %4s  %6s   %17.1f   %16.1f   %16.1f   %15.1f\n", axes_.emphases[level].c_str(),
                axes_.vregs[j / axes_.corners.size()].c_str(), axes_.corners[j % axes_.corners.size()].c_str(),
                a.leastHeight, a.leastWidth, a.sumHeight / n, a.sumWidth / n);
    if (widest > 0 && a.leastWidth > 0 && a.leastWidth >= widest - step &&
        (best == across_.size() || a.leastHeight > across_[best].leastHeight))
      best = i;
  }
  if (best == across_.size()) {
    std::printf("\nno setting keeps the eye open at BER %s on every channel\n", target.c_str());
    return;
  }
  const size_t level = best / axes_.PerLevel(), j = best % axes_.PerLevel();
  std::printf(
      "\nthe setting whose worst channel is best at BER %s (the widest worst eye; within 1/%d UI the taller wins): "
      "emphasis %s, Vreg %s, corner %s: worst width %.1f ps, worst height %.1f mV\n",
      target.c_str(), SampleHistograms::kPhasesPerUi, axes_.emphases[level].c_str(),
      axes_.vregs[j / axes_.corners.size()].c_str(), axes_.corners[j % axes_.corners.size()].c_str(),
      across_[best].leastWidth, across_[best].leastHeight);
}
