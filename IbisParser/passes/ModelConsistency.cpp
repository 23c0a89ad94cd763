#include "IbisParser/passes/ModelConsistency.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/Model.h"
#include "IbisParser/sections/ModelKeywords.h"
#include "amiparam/Msg.h"

namespace {

const char* const kCorners[] = {"typ", "min", "max"};

// The column of `corner`, or typ when that column holds fewer than two numbers
// (IBIS 2.1 §6: min and max may be NA; typ then stands for them).
int ColumnOf(const MODEL_TABLE& table, int corner) {
  int numbers = 0;
  for (const TABLE_ROW& row : table.rows)
    if (row.y[corner].status == CMN_VALUE_NUMBER && ++numbers == 2) return corner;
  return 0;
}

// One column of an I-V table as points in ascending voltage, read by
// straight lines between them and along the end segments beyond them.
struct Curve {
  std::vector<double> x, y;
  double At(double v) const {
    if (x.empty()) return 0.0;
    if (x.size() == 1) return y[0];
    size_t hi = static_cast<size_t>(std::lower_bound(x.begin(), x.end(), v) - x.begin());
    hi = std::min(std::max<size_t>(hi, 1), x.size() - 1);
    const size_t lo = hi - 1;
    return y[lo] + (y[hi] - y[lo]) / (x[hi] - x[lo]) * (v - x[lo]);
  }
};

Curve CurveOf(const MODEL_TABLE* table, int corner) {
  Curve curve;
  if (!table) return curve;
  const int c = ColumnOf(*table, corner);
  for (const TABLE_ROW& row : table->rows)
    if (row.y[c].status == CMN_VALUE_NUMBER) curve.x.push_back(row.x), curve.y.push_back(row.y[c].value);
  return curve;
}

// A value of a triple for `corner`, typ when that corner is not a number.
bool CornerOf(const MODEL_TRIPLE& triple, int corner, double* value) {
  if (!triple.given) return false;
  const MODEL_VALUE& v = triple.corner[corner].status == CMN_VALUE_NUMBER ? triple.corner[corner] : triple.corner[0];
  if (v.status != CMN_VALUE_NUMBER) return false;
  *value = v.value;
  return true;
}

// Reference voltages of one corner (IBIS 2.1 §6 [Voltage Range] and the
// reference keywords: pull-up and POWER clamp to the supply, pull-down and
// GND clamp to 0 unless given).
struct References {
  double supply = 0.0, pullup = 0.0, pulldown = 0.0, powerClamp = 0.0, gndClamp = 0.0;
};

bool ReferencesOf(const MODEL_DATA& d, int corner, References* r) {
  bool haveSupply = CornerOf(d.voltageRange, corner, &r->supply);
  if (!haveSupply && !CornerOf(d.pullupRef, corner, &r->supply)) return false;
  r->pullup = r->powerClamp = r->supply;
  CornerOf(d.pullupRef, corner, &r->pullup);
  CornerOf(d.powerClampRef, corner, &r->powerClamp);
  CornerOf(d.pulldownRef, corner, &r->pulldown);
  CornerOf(d.gndClampRef, corner, &r->gndClamp);
  return true;
}

// The four I-V tables of one corner: pull-down, pull-up, GND clamp, POWER clamp.
struct Tables {
  Curve pulldown, pullup, gndClamp, powerClamp;
  Tables(const MODEL_DATA& d, int corner)
      : pulldown(CurveOf(d.Table(KEY_PULLDOWN), corner)),
        pullup(CurveOf(d.Table(KEY_PULLUP), corner)),
        gndClamp(CurveOf(d.Table(KEY_GND_CLAMP), corner)),
        powerClamp(CurveOf(d.Table(KEY_POWER_CLAMP), corner)) {}
};

// Current into the pin at `v` with the pull-up (high) or the pull-down (low) on.
double DeviceCurrent(const Tables& t, const References& r, bool high, double v) {
  double i = t.gndClamp.At(v - r.gndClamp) + t.powerClamp.At(r.powerClamp - v);
  return i + (high ? t.pullup.At(r.pullup - v) : t.pulldown.At(v - r.pulldown));
}

// The pin voltage where the device current equals the current from the
// fixture, (vFixture - v) / rFixture, by bisection; false when the two do not
// cross in a span of the supply voltage around the levels.
bool DcLevel(const Tables& t, const References& r, bool high, double rFixture, double vFixture, double* level) {
  const double span = std::fabs(r.supply) + std::fabs(vFixture) + 1.0;
  double lo = -2.0 * span, hi = 2.0 * span;
  auto g = [&](double v) { return DeviceCurrent(t, r, high, v) - (vFixture - v) / rFixture; };
  double glo = g(lo), ghi = g(hi);
  if (!(glo <= 0.0 && ghi >= 0.0)) return false;
  for (int i = 0; i < 100 && hi - lo > 1e-6; ++i) {
    double mid = 0.5 * (lo + hi);
    if (g(mid) <= 0.0)
      lo = mid;
    else
      hi = mid;
  }
  *level = 0.5 * (lo + hi);
  return true;
}

// Waveform end points against the DC levels (IBIS 2.1 §6 [Rising Waveform]:
// the table starts and ends in the states the I-V tables describe).
void CheckLevels(const MODEL& m, const MODEL_DATA& d, const std::string& type) {
  const char* owner = m.name ? m.name : "";
  // The levels need the tables the type drives with, and nothing the I-V
  // tables do not show: no schedule of other models, no submodels.
  for (int id : {KEY_PULLDOWN, KEY_PULLUP, KEY_GND_CLAMP, KEY_POWER_CLAMP})
    if (d.Table(id) && (d.Table(id)->faulty || d.Table(id)->rows.size() < 2)) return;
  if ((MODKEY_HasPulldown(type.c_str()) && !d.Table(KEY_PULLDOWN)) ||
      (MODKEY_HasPullup(type.c_str()) && !d.Table(KEY_PULLUP)) || !d.schedule.empty() || !d.addSubmodels.empty())
    return;
  const Tables corners[3] = {Tables(d, 0), Tables(d, 1), Tables(d, 2)};
  for (const MODEL_TABLE& t : d.tables) {
    if (t.keyword != KEY_RISING_WAVEFORM && t.keyword != KEY_FALLING_WAVEFORM) continue;
    double rFixture = 0.0, vFixture = 0.0;
    if (!t.Fixture("R_fixture", &rFixture) || !(rFixture > 0.0) || !t.Fixture("V_fixture", &vFixture)) continue;
    if (t.rows.size() < 2 || t.faulty) continue;
    const bool rising = t.keyword == KEY_RISING_WAVEFORM;
    for (int corner = 0; corner < 3; ++corner) {
      const TABLE_ROW& first = t.rows.front();
      const TABLE_ROW& last = t.rows.back();
      if (first.y[corner].status != CMN_VALUE_NUMBER || last.y[corner].status != CMN_VALUE_NUMBER) continue;
      References r;
      if (!ReferencesOf(d, corner, &r)) continue;
      double vFix = vFixture;
      if (corner == 1) t.Fixture("V_fixture_min", &vFix);
      if (corner == 2) t.Fixture("V_fixture_max", &vFix);
      for (int end = 0; end < 2; ++end) {
        const bool high = rising == (end == 1);
        double level = 0.0;
        if (!DcLevel(corners[corner], r, high, rFixture, vFix, &level)) continue;
        const TABLE_ROW& row = end == 0 ? first : last;
        // Outputs that swing beyond their supply (charge pumps) compare on their own scale.
        const double scale = std::fmax(std::fabs(r.supply), std::fabs(level));
        const double tolerance = std::fmax(MODCONS_LEVEL_TOLERANCE * scale, MODCONS_LEVEL_FLOOR);
        if (std::fabs(row.y[corner].value - level) > tolerance)
          CHECK_ReportAt(row.line, 5300, t.name.c_str(), owner, static_cast<int>(t.line), kCorners[corner],
                         end == 0 ? "starts" : "ends", row.y[corner].value, level);
      }
    }
  }
}

// The 20-80 % slope of a waveform column, in V/s; 0 when it has no swing.
double Slope2080(const MODEL_TABLE& t, int corner) {
  const int c = ColumnOf(t, corner);
  const TABLE_ROW* first = nullptr;
  const TABLE_ROW* last = nullptr;
  for (const TABLE_ROW& row : t.rows)
    if (row.y[c].status == CMN_VALUE_NUMBER) {
      if (!first) first = &row;
      last = &row;
    }
  if (!first || first == last) return 0.0;
  const double v0 = first->y[c].value, swing = last->y[c].value - v0;
  if (std::fabs(swing) < 1e-6) return 0.0;
  double t20 = NAN, t80 = NAN;
  const TABLE_ROW* prev = nullptr;
  for (const TABLE_ROW& row : t.rows) {
    if (row.y[c].status != CMN_VALUE_NUMBER) continue;
    if (prev) {
      const double a = (prev->y[c].value - v0) / swing, b = (row.y[c].value - v0) / swing;
      for (double level : {0.2, 0.8}) {
        double* at = level == 0.2 ? &t20 : &t80;
        if (std::isnan(*at) && a < level && b >= level) *at = prev->x + (level - a) / (b - a) * (row.x - prev->x);
      }
    }
    prev = &row;
  }
  if (std::isnan(t20) || std::isnan(t80) || !(t80 > t20)) return 0.0;
  return 0.6 * std::fabs(swing) / (t80 - t20);
}

// A fixture with a capacitance or inductance slows the edge that [Ramp],
// measured into R_load alone, describes.
bool Reactive(const MODEL_TABLE& t) {
  for (const char* name : {"C_fixture", "L_fixture", "C_dut", "L_dut"}) {
    double value = 0.0;
    if (t.Fixture(name, &value) && value != 0.0) return true;
  }
  return false;
}

// [Ramp] against the waveforms into R_load (IBIS 2.1 §6 [Ramp]: dV/dt is
// the 20-80 % swing over its time into R_load).
void CheckRamp(const MODEL& m, const MODEL_DATA& d) {
  if (!d.hasRamp) return;
  const char* owner = m.name ? m.name : "";
  static const char* const kRatios[] = {"dV/dt_r", "dV/dt_f"};
  for (int edge = 0; edge < 2; ++edge) {
    const int keyword = edge == 0 ? KEY_RISING_WAVEFORM : KEY_FALLING_WAVEFORM;
    for (int corner = 0; corner < 3; ++corner) {
      if (d.ramp.dv[edge][corner].status != CMN_VALUE_NUMBER) continue;
      const double ramp = d.ramp.dv[edge][corner].value / d.ramp.dt[edge][corner].value;
      const MODEL_TABLE* best = nullptr;
      double bestSlope = 0.0, bestError = 0.0;
      for (const MODEL_TABLE& t : d.tables) {
        double rFixture = 0.0;
        if (t.keyword != keyword || t.faulty || !t.Fixture("R_fixture", &rFixture)) continue;
        if (std::fabs(rFixture - d.ramp.rLoad) > 0.01 * d.ramp.rLoad || Reactive(t)) continue;
        const double slope = Slope2080(t, corner);
        if (!(slope > 0.0)) continue;
        const double error = std::fabs(slope - ramp) / ramp;
        if (!best || error < bestError) best = &t, bestSlope = slope, bestError = error;
      }
      if (best && bestError > MODCONS_RAMP_TOLERANCE)
        CHECK_ReportAt(d.ramp.rowLine[edge], 5301, kRatios[edge], owner, kCorners[corner], ramp * 1e-9,
                       best->name.c_str(), static_cast<int>(best->line), bestSlope * 1e-9);
    }
  }
}

// Pull-down current rises and pull-up current falls with the table's voltage
// between 0 and the supply, where the transistor conducts more the more
// voltage it sees: a fall below the largest current reached so far by more
// than MODCONS_MONOTONIC_TOLERANCE of the column's largest current is
// reported, once per table. Smaller dips are measurement noise or
// self-heating of real devices.
void CheckMonotonic(const MODEL& m, const MODEL_DATA& d) {
  const char* owner = m.name ? m.name : "";
  References r;
  if (!ReferencesOf(d, 0, &r) || !(r.supply > 0.0)) return;
  for (int keyword : {KEY_PULLDOWN, KEY_PULLUP}) {
    const MODEL_TABLE* t = d.Table(keyword);
    if (!t || t->faulty) continue;
    const double sign = keyword == KEY_PULLDOWN ? 1.0 : -1.0;
    bool reported = false;
    for (int corner = 0; corner < 3 && !reported; ++corner) {
      double largest = 0.0;
      for (const TABLE_ROW& row : t->rows)
        if (row.y[corner].status == CMN_VALUE_NUMBER) largest = std::fmax(largest, std::fabs(row.y[corner].value));
      const TABLE_ROW* peak = nullptr;
      for (const TABLE_ROW& row : t->rows) {
        if (row.y[corner].status != CMN_VALUE_NUMBER || row.x < 0.0 || row.x > r.supply) continue;
        if (peak && sign * (peak->y[corner].value - row.y[corner].value) > MODCONS_MONOTONIC_TOLERANCE * largest) {
          CHECK_ReportAt(row.line, 5302, t->name.c_str(), owner, kCorners[corner], peak->y[corner].value, peak->x,
                         row.y[corner].value, row.x);
          reported = true;
          break;
        }
        if (!peak || sign * row.y[corner].value > sign * peak->y[corner].value) peak = &row;
      }
    }
  }
}

}  // namespace

double MODCONS_Current(const MODEL_TABLE* table, int corner, double voltage) {
  return CurveOf(table, corner).At(voltage);
}

void MODCONS_CheckFile(const MODEL* models) {
  for (const MODEL* m = models; m; m = m->next) {
    if (!m->data) continue;
    const std::string type = MODKEY_Type(m);
    if (!MODKEY_Drives(type.c_str())) continue;
    CheckLevels(*m, *m->data, type);
    CheckRamp(*m, *m->data);
    CheckMonotonic(*m, *m->data);
  }
}
