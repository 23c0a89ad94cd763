#include "IbisParser/sections/PackageModel.h"
#include "IbisParser/base/RecordList.h"

#include <memory>
#include <unordered_set>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/RlcSection.h"
#include "amiparam/Msg.h"

namespace {

constexpr const char* kPinNumbers = "Pin Numbers";

// The open row of a matrix: an index of [Pin Numbers], none yet (-1), or
// one whose data is skipped since its [Row] was reported.
constexpr long long kNoRow = -1;
constexpr long long kSkipRow = -2;

// A matrix's bandwidth before [Bandwidth], and after one that was reported.
constexpr long long kNoBandwidth = -1;
constexpr long long kBadBandwidth = -2;

// What the reading of the open package model is in the middle of.
}  // namespace

struct PKGM_READING {
  int matrix = -1;                     // matrix whose rows are being read, -1 none
  long long row = -1;                  // index in [Pin Numbers] of the open [Row], -1 none
  std::string rowName;                 // its pin
  unsigned long rowLine = 0;           // its line
  long long values = 0;                // values read in the open row
  bool rowFault = false;               // a value of the open row was reported already
  std::unordered_set<size_t> columns;  // columns of the open Sparse_matrix row
  std::vector<char> rowsSeen;          // rows given in the open matrix, by pin index
  long long lastRow = -1;              // index of the previous row of the open matrix
  bool orderReported = false;          // the open matrix's order was reported already
  bool inModelData = false;
  // [Pin Numbers] sections of the open pin.
  RLC_SECTION section;
  long long pinSections = 0;
  std::vector<unsigned long> forks;  // lines of the open Forks (a count would do but for the message)
};

namespace {

// The open package model's reading, made on first use.
PKGM_READING& PkgmRead(PARSE_CONTEXT& ctx) {
  if (!ctx.pkgmReading) ctx.pkgmReading = std::make_shared<PKGM_READING>();
  return *ctx.pkgmReading;
}

const char* NameOf(const PACKAGE_MODEL* pm) { return pm->name.c_str(); }

// IBIS 2.1 package modeling: [Manufacturer], [OEM], [Description],
// [Number Of Pins], [Pin Numbers] stand once in a package model.
void Once(int* count, const char* keyword, const PACKAGE_MODEL* pm) {
  if (++*count > 1) CHECK_Report(5402, keyword, NameOf(pm));
}

// Values a Full_matrix or Banded_matrix row of pin index `i` holds: the
// diagonal and the entries after it, up to the band (the matrices are
// symmetric, so only the upper half is given).
long long ExpectedValues(const PACKAGE_MODEL* pm, const PKGM_MATRIX& m, long long i) {
  const long long after = static_cast<long long>(pm->pins.size()) - i;
  if (m.form == PKGM_BANDED && m.bandwidth >= 0 && m.bandwidth + 1 < after) return m.bandwidth + 1;
  return after;
}

void CloseRow(PARSE_CONTEXT& ctx, const PACKAGE_MODEL* pm) {
  if (PkgmRead(ctx).matrix < 0 || PkgmRead(ctx).row < 0) {
    PkgmRead(ctx).row = kNoRow;
    return;
  }
  const PKGM_MATRIX& m = pm->matrices[PkgmRead(ctx).matrix];
  if (m.form == PKGM_FULL || (m.form == PKGM_BANDED && m.bandwidth >= 0)) {
    const long long expected = ExpectedValues(pm, m, PkgmRead(ctx).row);
    if (PkgmRead(ctx).values != expected)
      CHECK_ReportAt(PkgmRead(ctx).rowLine, 5415, PkgmRead(ctx).rowName.c_str(), PKGM_MatrixName(PkgmRead(ctx).matrix),
                     PkgmRead(ctx).values, expected);
  }
  PkgmRead(ctx).row = kNoRow;
}

// The rows a matrix is missing, once the matrix ends.
void CloseMatrix(PARSE_CONTEXT& ctx, const PACKAGE_MODEL* pm) {
  if (PkgmRead(ctx).matrix < 0) return;
  CloseRow(ctx, pm);
  const PKGM_MATRIX& m = pm->matrices[PkgmRead(ctx).matrix];
  int missing = 0;
  size_t first = 0;
  for (size_t i = 0; i < pm->pins.size(); ++i)
    if (i >= PkgmRead(ctx).rowsSeen.size() || !PkgmRead(ctx).rowsSeen[i]) {
      if (missing++ == 0) first = i;
    }
  if (missing > 0)
    CHECK_ReportAt(m.line, 5421, PKGM_MatrixName(PkgmRead(ctx).matrix), m.rows, static_cast<int>(pm->pins.size()),
                   pm->pins[first].c_str());
  if (m.form == PKGM_BANDED && m.bandwidth == kNoBandwidth)
    CHECK_ReportAt(m.line, 5411, PKGM_MatrixName(PkgmRead(ctx).matrix));
  PkgmRead(ctx).matrix = -1;
}

void OpenMatrix(PARSE_CONTEXT& ctx, PACKAGE_MODEL* pm, int k, const char* rest) {
  CloseMatrix(ctx, pm);
  PKGM_MATRIX& m = pm->matrices[k];
  if (m.form != PKGM_NONE) {
    CHECK_Report(5402, PKGM_MatrixName(k), NameOf(pm));
    return;
  }
  std::vector<std::string> words = LINE_Words(rest);
  const std::string form = words.empty() ? std::string() : words[0];
  for (int f = PKGM_FULL; f <= PKGM_SPARSE; ++f)
    if (CMN_EqualNoCase(form.c_str(), PKGM_FormName(f))) m.form = f;
  m.line = gulLineNumber;
  if (m.form == PKGM_NONE) {
    CHECK_Report(5407, PKGM_MatrixName(k), form.c_str());
    m.form = -1;  // given, but its rows cannot be read
    return;
  }
  PkgmRead(ctx).matrix = k;
  PkgmRead(ctx).rowsSeen.assign(pm->pins.size(), 0);
  PkgmRead(ctx).lastRow = -1;
  PkgmRead(ctx).orderReported = false;
}

void Bandwidth(PARSE_CONTEXT& ctx, PACKAGE_MODEL* pm, const char* rest) {
  if (PkgmRead(ctx).matrix < 0 || pm->matrices[PkgmRead(ctx).matrix].form != PKGM_BANDED) {
    CHECK_Report(5409);
    return;
  }
  PKGM_MATRIX& m = pm->matrices[PkgmRead(ctx).matrix];
  if (m.bandwidth != kNoBandwidth || PkgmRead(ctx).row >= 0) {
    CHECK_Report(5402, "Bandwidth", NameOf(pm));
    return;
  }
  std::vector<std::string> words = LINE_Words(rest);
  const std::string value = words.empty() ? std::string() : words[0];
  m.bandwidth = LINE_WholeNumber(value, 0);
  if (m.bandwidth < 0 || words.size() != 1) {
    CHECK_Report(5403, "Bandwidth", 0, value.c_str());
    m.bandwidth = kBadBandwidth;  // reported once: its rows' lengths are not checked
  }
}

void Row(PARSE_CONTEXT& ctx, PACKAGE_MODEL* pm, const char* rest) {
  if (PkgmRead(ctx).matrix < 0) {
    CHECK_Report(5422, "[Row]");
    return;
  }
  CloseRow(ctx, pm);
  PKGM_MATRIX& m = pm->matrices[PkgmRead(ctx).matrix];
  ++m.rows;
  std::vector<std::string> words = LINE_Words(rest);
  const std::string pin = words.empty() ? std::string() : words[0];
  auto found = pm->pinIndex.find(pin);
  // The data of a row that cannot be placed is skipped (kSkipRow).
  if (found == pm->pinIndex.end()) {
    CHECK_Report(5412, pin.c_str(), PKGM_MatrixName(PkgmRead(ctx).matrix));
    PkgmRead(ctx).row = kSkipRow;
    return;
  }
  const size_t i = found->second;
  // Pins listed after the matrix began (a second [Pin Numbers]) widen it.
  if (i >= PkgmRead(ctx).rowsSeen.size()) PkgmRead(ctx).rowsSeen.resize(pm->pins.size(), 0);
  if (PkgmRead(ctx).rowsSeen[i]) {
    CHECK_Report(5413, PKGM_MatrixName(PkgmRead(ctx).matrix), pin.c_str());
    PkgmRead(ctx).row = kSkipRow;
    return;
  }
  PkgmRead(ctx).rowsSeen[i] = 1;
  // Rows follow the order of [Pin Numbers]: the columns of a Full or
  // Banded row are the pins from the row's own on, in that order.
  if (static_cast<long long>(i) < PkgmRead(ctx).lastRow && !PkgmRead(ctx).orderReported) {
    CHECK_Report(5414, pin.c_str(), PKGM_MatrixName(PkgmRead(ctx).matrix),
                 pm->pins[static_cast<size_t>(PkgmRead(ctx).lastRow)].c_str());
    PkgmRead(ctx).orderReported = true;
  }
  PkgmRead(ctx).lastRow = static_cast<long long>(i);
  PkgmRead(ctx).row = static_cast<long long>(i);
  PkgmRead(ctx).rowName = pin;
  PkgmRead(ctx).rowLine = gulLineNumber;
  PkgmRead(ctx).values = 0;
  PkgmRead(ctx).rowFault = false;
  PkgmRead(ctx).columns.clear();
}

void MatrixData(PARSE_CONTEXT& ctx, PACKAGE_MODEL* pm, const char* text) {
  if (PkgmRead(ctx).matrix < 0 || pm->matrices[PkgmRead(ctx).matrix].form <= PKGM_NONE) return;
  if (PkgmRead(ctx).row == kSkipRow) return;
  if (PkgmRead(ctx).row < 0) {
    CHECK_Report(5422, PKGM_MatrixName(PkgmRead(ctx).matrix));
    PkgmRead(ctx).row = kSkipRow;  // once per stretch of rowless data
    return;
  }
  const char* matrix = PKGM_MatrixName(PkgmRead(ctx).matrix);
  std::vector<std::string> words = LINE_Words(text);
  if (pm->matrices[PkgmRead(ctx).matrix].form != PKGM_SPARSE) {
    for (const std::string& w : words) {
      ++PkgmRead(ctx).values;
      double v = 0.0;
      if (!PkgmRead(ctx).rowFault && CMN_ReadNumber(w.c_str(), &v) == CMN_NUMBER_NONE) {
        CHECK_Report(5416, matrix, w.c_str(), PkgmRead(ctx).rowName.c_str());
        PkgmRead(ctx).rowFault = true;
      }
    }
    return;
  }
  // Sparse_matrix: a column pin and its value per line, the diagonal and the
  // pins after the row's own (each pair of pins once).
  if (words.size() != 2) {
    CHECK_Report(5420, matrix, PkgmRead(ctx).rowName.c_str(), static_cast<int>(words.size()));
    return;
  }
  auto column = pm->pinIndex.find(words[0]);
  double v = 0.0;
  if (column == pm->pinIndex.end()) {
    CHECK_Report(5417, matrix, PkgmRead(ctx).rowName.c_str(), words[0].c_str());
  } else if (static_cast<long long>(column->second) < PkgmRead(ctx).row) {
    CHECK_Report(5418, matrix, PkgmRead(ctx).rowName.c_str(), words[0].c_str());
  } else if (!PkgmRead(ctx).columns.insert(column->second).second) {
    CHECK_Report(5419, matrix, PkgmRead(ctx).rowName.c_str(), words[0].c_str());
  } else if (CMN_ReadNumber(words[1].c_str(), &v) == CMN_NUMBER_NONE) {
    CHECK_Report(5416, matrix, words[1].c_str(), PkgmRead(ctx).rowName.c_str());
  }
}

// The open pin's sections end with it: at most [Number Of Sections] of them
// (IBIS 3.2 package modeling, [Number Of Sections]).
void ClosePin(PARSE_CONTEXT& ctx, PACKAGE_MODEL* pm) {
  RLC_Interrupt(&PkgmRead(ctx).section, kPinNumbers);
  if (!PkgmRead(ctx).forks.empty()) {
    CHECK_Report(5456, "[Pin Numbers]", static_cast<int>(PkgmRead(ctx).forks.size()),
                 static_cast<int>(PkgmRead(ctx).forks.front()));
    PkgmRead(ctx).forks.clear();
  }
  if (!pm->pins.empty() && pm->numberOfSections > 0 && PkgmRead(ctx).pinSections > pm->numberOfSections)
    CHECK_Report(5423, pm->pins.back().c_str(), PkgmRead(ctx).pinSections, pm->numberOfSections);
  PkgmRead(ctx).pinSections = 0;
}

// A [Pin Numbers] line: a pin name, then (3.2 on) its Len/L/R/C sections
// each closed by '/', with Fork and Endfork around the sections of a stub.
void PinNumbersLine(PARSE_CONTEXT& ctx, PACKAGE_MODEL* pm, const char* text) {
  std::vector<RLC_ITEM> items = RLC_Items(text);
  for (size_t n = 0; n < items.size(); ++n) {
    const RLC_ITEM& item = items[n];
    if (item.kind == RLC_ITEM::ASSIGN) {
      if (pm->pins.empty()) {
        CHECK_Report(5425, item.name.c_str());
        return;
      }
      RLC_Assign(&PkgmRead(ctx).section, item, kPinNumbers);
      pm->sections = true;
    } else if (item.kind == RLC_ITEM::SLASH) {
      PkgmRead(ctx).pinSections += RLC_Close(&PkgmRead(ctx).section, kPinNumbers);
    } else if (CMN_EqualNoCase(item.name.c_str(), "Fork")) {
      RLC_Interrupt(&PkgmRead(ctx).section, kPinNumbers);
      PkgmRead(ctx).forks.push_back(gulLineNumber);
    } else if (CMN_EqualNoCase(item.name.c_str(), "Endfork")) {
      RLC_Interrupt(&PkgmRead(ctx).section, kPinNumbers);
      if (PkgmRead(ctx).forks.empty())
        CHECK_Report(5455, kPinNumbers);
      else
        PkgmRead(ctx).forks.pop_back();
    } else if (n == 0) {
      ClosePin(ctx, pm);
      auto first = pm->pinIndex.emplace(item.name, pm->pins.size());
      if (!first.second) {
        CHECK_Report(5405, item.name.c_str(), static_cast<int>(pm->pinLines[first.first->second]));
        continue;
      }
      pm->pins.push_back(item.name);
      pm->pinLines.push_back(gulLineNumber);
    } else {
      CHECK_Report(5425, item.name.c_str());
      return;
    }
  }
  ctx.unterminatedRLC = PkgmRead(ctx).section.open ? 1 : 0;
}

void TextValue(std::string* place, int* count, const char* keyword, const char* rest, const PACKAGE_MODEL* pm) {
  Once(count, keyword, pm);
  if (!rest || !*rest) CHECK_Report(5432, keyword, "package model", NameOf(pm));
  if (place->empty() && rest) *place = rest;
}

// [Number Of Pins] (`pins`) or [Number Of Sections]: once, one whole number from 1.
void NumberOf(PARSE_CONTEXT& ctx, PACKAGE_MODEL* pm, bool pins, const char* rest) {
  const char* keyword = pins ? "Number Of Pins" : "Number Of Sections";
  Once(pins ? &ctx.pkgmNumberOfPins : &ctx.pkgmNumberOfSections, keyword, pm);
  std::vector<std::string> words = LINE_Words(rest);
  const std::string value = words.empty() ? std::string() : words[0];
  const long long n = LINE_WholeNumber(value, 1);
  if (n < 0 || words.size() != 1) CHECK_Report(5403, keyword, 1, value.c_str());
  if (pins) {
    pm->numberOfPins = n;
    pm->numberOfPinsLine = gulLineNumber;
  } else {
    pm->numberOfSections = n;
  }
}

// The keywords of [Model Data]: the matrices, their bandwidth and rows.
void ModelDataKeyword(PARSE_CONTEXT& ctx, PACKAGE_MODEL* pm, int id, const char* rest) {
  switch (id) {
    case KEY_MODEL_DATA:
      if (++pm->modelData > 1) CHECK_Report(5402, "Model Data", NameOf(pm));
      PkgmRead(ctx).inModelData = true;
      break;
    case KEY_RESISTANCE_MATRIX:
    case KEY_RESISTANCE_MATRIX + 1:
    case KEY_RESISTANCE_MATRIX + 2:
      if (!PkgmRead(ctx).inModelData) {
        CHECK_Report(5406, PKGM_MatrixName(id - KEY_RESISTANCE_MATRIX));
        break;
      }
      OpenMatrix(ctx, pm, id - KEY_RESISTANCE_MATRIX, rest);
      break;
    case KEY_BANDWIDTH:
      Bandwidth(ctx, pm, rest);
      break;
    case KEY_MATRIX_ROW:
      Row(ctx, pm, rest);
      break;
    case KEY_END_MODEL_DATA:
      CloseMatrix(ctx, pm);
      if (!PkgmRead(ctx).inModelData) CHECK_Report(5427);
      PkgmRead(ctx).inModelData = false;
      ++pm->endModelData;
      break;
    default:
      break;
  }
}

void KeywordLine(PARSE_CONTEXT& ctx, PACKAGE_MODEL* pm, int id, const char* text) {
  const char* rest = KEY_AfterKeyword(text);
  if (id != KEY_PIN_NUMBERS && pm->pinNumbers > 0) ClosePin(ctx, pm);
  switch (id) {
    case KEY_DEFINE_PACKAGE_MODEL: {
      std::vector<std::string> words = LINE_Words(rest);
      pm->line = gulLineNumber;
      if (words.empty())
        CHECK_Report(5400);
      else
        pm->name = words[0];
      break;
    }
    case KEY_PKG_MANUFACTURER:
      TextValue(&pm->manufacturer, &ctx.pkgmManufacturer, "Manufacturer", rest, pm);
      break;
    case KEY_OEM:
      TextValue(&pm->oem, &ctx.pkgmOem, "OEM", rest, pm);
      break;
    case KEY_DESCRIPTION:
      TextValue(&pm->description, &ctx.pkgmDescription, "Description", rest, pm);
      break;
    case KEY_NUMBER_OF_PINS:
    case KEY_NUMBER_OF_SECTIONS:
      NumberOf(ctx, pm, id == KEY_NUMBER_OF_PINS, rest);
      break;
    case KEY_PIN_NUMBERS:
      Once(&pm->pinNumbers, kPinNumbers, pm);
      break;
    case KEY_MODEL_DATA:
    case KEY_RESISTANCE_MATRIX:
    case KEY_RESISTANCE_MATRIX + 1:
    case KEY_RESISTANCE_MATRIX + 2:
    case KEY_BANDWIDTH:
    case KEY_MATRIX_ROW:
    case KEY_END_MODEL_DATA:
      ModelDataKeyword(ctx, pm, id, rest);
      break;
    case KEY_END_PACKAGE_MODEL:
      CloseMatrix(ctx, pm);
      ++pm->endPackageModel;
      break;
    default:
      break;
  }
}

}  // namespace

const char* PKGM_MatrixName(int k) {
  static const char* const kNames[] = {"Resistance Matrix", "Inductance Matrix", "Capacitance Matrix"};
  return k >= 0 && k < 3 ? kNames[k] : "";
}

const char* PKGM_FormName(int form) {
  static const char* const kNames[] = {"", "Full_matrix", "Banded_matrix", "Sparse_matrix"};
  return form >= PKGM_FULL && form <= PKGM_SPARSE ? kNames[form] : "";
}

void PKGM_Begin(PARSE_CONTEXT& ctx) {
  PACKAGE_MODEL* pm = new PACKAGE_MODEL();
  LIST_Append(&ctx.packageModels, &ctx.lastPackageModel, pm);
  ctx.packageModel = pm;
  PkgmRead(ctx) = PKGM_READING{};
  ctx.pkgmManufacturer = ctx.pkgmOem = ctx.pkgmDescription = ctx.pkgmNumberOfPins = ctx.pkgmNumberOfSections = 0;
}

void PKGM_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text) {
  PACKAGE_MODEL* pm = ctx.packageModel;
  if (!pm) return;  // a package model keyword outside a package model
  if (pm->endPackageModel && (kind == PARSE_LINE_DATA || id != KEY_END_PACKAGE_MODEL)) {
    CHECK_Report(5428, kind == PARSE_LINE_DATA ? "Data" : "Keyword", "End Package Model", "package model");
    return;
  }
  if (kind == PARSE_LINE_KEYWORD) {
    PkgmRead(ctx).section.open = false;  // an open section was reported by the driver (909)
    KeywordLine(ctx, pm, id, text);
    return;
  }
  if (id == KEY_PIN_NUMBERS) {
    PinNumbersLine(ctx, pm, text);
  } else if (id >= KEY_RESISTANCE_MATRIX && id <= KEY_MATRIX_ROW) {
    MatrixData(ctx, pm, text);
  }
}

void PKGM_End(PARSE_CONTEXT& ctx) {
  PACKAGE_MODEL* pm = ctx.packageModel;
  if (!pm) return;
  ClosePin(ctx, pm);
  CloseMatrix(ctx, pm);
  const char* name = NameOf(pm);
  const unsigned long at = pm->line;
  // IBIS 2.1 package modeling: these keywords are required in every package model.
  if (!ctx.pkgmManufacturer) CHECK_ReportAt(at, 5401, name, "Manufacturer");
  if (!ctx.pkgmOem) CHECK_ReportAt(at, 5401, name, "OEM");
  if (!ctx.pkgmDescription) CHECK_ReportAt(at, 5401, name, "Description");
  if (!ctx.pkgmNumberOfPins) CHECK_ReportAt(at, 5401, name, "Number Of Pins");
  if (!pm->pinNumbers) CHECK_ReportAt(at, 5401, name, kPinNumbers);
  // Pins described by sections carry their own data; otherwise [Model Data]
  // with its inductance and capacitance matrices is required.
  if (!pm->sections && !pm->modelData) CHECK_ReportAt(at, 5401, name, "Model Data");
  if (pm->modelData) {
    if (pm->matrices[1].form == PKGM_NONE) CHECK_ReportAt(at, 5401, name, "Inductance Matrix");
    if (pm->matrices[2].form == PKGM_NONE) CHECK_ReportAt(at, 5401, name, "Capacitance Matrix");
    if (!pm->endModelData) CHECK_ReportAt(at, 5401, name, "End Model Data");
  }
  if (pm->sections && !ctx.pkgmNumberOfSections) CHECK_ReportAt(at, 5401, name, "Number Of Sections");
  if (!pm->endPackageModel) CHECK_ReportAt(at, 5401, name, "End Package Model");
  if (pm->numberOfPins > 0 && pm->pinNumbers && pm->numberOfPins != static_cast<long long>(pm->pins.size()))
    CHECK_ReportAt(pm->numberOfPinsLine, 5404, name, pm->numberOfPins, static_cast<int>(pm->pins.size()));
  ctx.packageModel = nullptr;
  PkgmRead(ctx) = PKGM_READING{};
}

const PACKAGE_MODEL* PKGM_Find(const PACKAGE_MODEL* list, const std::string& name) {
  for (const PACKAGE_MODEL* pm = list; pm; pm = pm->next)
    if (CMN_EqualNoCase(pm->name.c_str(), name.c_str())) return pm;
  return nullptr;
}
