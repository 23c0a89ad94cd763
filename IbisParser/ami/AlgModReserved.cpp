#include "IbisParser/ami/AlgModReserved.h"

#include <cstdint>
#include <cstring>

#include "IbisParser/ami/AlgModTree.h"
#include "IbisParser/ami/AmiValues.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/AmiTree.h"
#include "amiparam/Msg.h"

namespace {

constexpr uint32_t Bit(int keyword) { return 1u << keyword; }

enum class DefaultRule {
  AnyRequired,      // required, any value
  BooleanRequired,  // required, True or False
  IntegerRequired,  // required, an integer
  NumberOptional,   // optional, an integer or floating-point number
  Optional,         // optional, any value (5.1 on: its kind follows the Type)
};

// One reserved parameter. `since` is the release whose standard first
// defines it. `format50` is what IBIS 5.0 allows after Format (0: Format
// must not be given) and `defaultRule` its rule for Default; from 5.1 on a
// parameter's value may be given by Default or by a data format, either as
// (Format Word ...) or as a leaf named by the word, and `formats` lists the
// words allowed; `valueRequired` says whether a value must be given then.
struct ReservedRule {
  const char* name;
  int since;
  uint32_t usage;     // allowed Usage keywords
  uint32_t type;      // allowed Type keywords
  uint32_t format50;  // Format words of the 5.0 rules; 0: Format must not be given
  DefaultRule defaultRule;
  uint32_t formats;  // data formats from 5.1 on
  bool valueRequired;
};

constexpr uint32_t kInfo = Bit(AMICHECK_KW_INFO);
constexpr uint32_t kIn = Bit(AMICHECK_KW_IN);
constexpr uint32_t kInfoOut = Bit(AMICHECK_KW_INFO) | Bit(AMICHECK_KW_OUT);
constexpr uint32_t kInInfo = Bit(AMICHECK_KW_IN) | Bit(AMICHECK_KW_INFO);
constexpr uint32_t kInOutAny = kInfoOut | Bit(AMICHECK_KW_IN) | Bit(AMICHECK_KW_INOUT);
constexpr uint32_t kFloat = Bit(AMICHECK_KW_FLOAT);
constexpr uint32_t kFloatUI = Bit(AMICHECK_KW_FLOAT) | Bit(AMICHECK_KW_UI);
constexpr uint32_t kBoolean = Bit(AMICHECK_KW_BOOLEAN);
constexpr uint32_t kInteger = Bit(AMICHECK_KW_INTEGER);
constexpr uint32_t kString = Bit(AMICHECK_KW_STRING);
constexpr uint32_t kValue = Bit(AMICHECK_KW_VALUE);
constexpr uint32_t kJitterFormats =
    Bit(AMICHECK_KW_TABLE) | Bit(AMICHECK_KW_GAUSSIAN) | Bit(AMICHECK_KW_DUAL_DIRAC) | Bit(AMICHECK_KW_DJRJ);
constexpr uint32_t kLevelFormats = Bit(AMICHECK_KW_VALUE) | Bit(AMICHECK_KW_RANGE) | Bit(AMICHECK_KW_CORNER);
constexpr uint32_t kChoiceFormats = Bit(AMICHECK_KW_VALUE) | Bit(AMICHECK_KW_LIST);
constexpr uint32_t kNumberFormats = kLevelFormats | Bit(AMICHECK_KW_LIST);

constexpr int k50 = IBIS_RELEASE_50, k51 = IBIS_RELEASE_51, k60 = IBIS_RELEASE_60, k61 = IBIS_RELEASE_61,
              k70 = IBIS_RELEASE_70, k71 = IBIS_RELEASE_71, k72 = IBIS_RELEASE_72;
constexpr DefaultRule kOpt = DefaultRule::Optional;

// The reserved parameters, one row each, with the version and section of
// the standard that defines them. A later version keeps what an earlier one
// defines.
constexpr ReservedRule kRules[] = {
    // IBIS 5.0 §6c, reserved parameters and their tables of rules.
    {"Init_Returns_Impulse", k50, kInfo, kBoolean, 0, DefaultRule::AnyRequired, kValue, true},
    {"GetWave_Exists", k50, kInfo, kBoolean, 0, DefaultRule::AnyRequired, kValue, true},
    {"Use_Init_Output", k50, kInfo, kBoolean, 0, DefaultRule::BooleanRequired, kValue, true},
    {"Max_Init_Aggressors", k50, kInfo, kInteger, 0, DefaultRule::IntegerRequired, kValue, true},
    {"Ignore_Bits", k50, kInfoOut, kInteger, 0, DefaultRule::IntegerRequired, kValue, true},
    {"Tx_Jitter", k50, kInfoOut, kFloatUI, kJitterFormats, DefaultRule::NumberOptional, kJitterFormats, true},
    {"Rx_Clock_PDF", k50, kInfoOut, kFloatUI, kJitterFormats, DefaultRule::NumberOptional, kJitterFormats, true},
    {"Tx_DCD", k50, kInfoOut, kFloatUI, kLevelFormats, DefaultRule::NumberOptional, kLevelFormats, true},
    {"Rx_Receiver_Sensitivity", k50, kInfoOut, kFloat, kLevelFormats, DefaultRule::NumberOptional, kLevelFormats, true},
    // IBIS 5.1 §10 (BIRD 126): the version of the AMI language the file follows.
    {"AMI_Version", k51, kInfo, kString, 0, kOpt, kValue, true},
    // IBIS 5.1 §10: jitter and noise split into their parts, Tx and Rx.
    {"Tx_Rj", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Tx_Dj", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Tx_Sj", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Tx_Sj_Frequency", k51, kInfoOut, kFloat, 0, kOpt, kLevelFormats, true},
    {"Rx_DCD", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Rx_Rj", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Rx_Dj", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Rx_Sj", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Rx_Clock_Recovery_Mean", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Rx_Clock_Recovery_Rj", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Rx_Clock_Recovery_Dj", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Rx_Clock_Recovery_Sj", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Rx_Clock_Recovery_DCD", k51, kInfoOut, kFloatUI, 0, kOpt, kLevelFormats, true},
    {"Rx_Noise", k51, kInfoOut, kFloat, 0, kOpt, kLevelFormats | Bit(AMICHECK_KW_GAUSSIAN), true},
    // IBIS 5.1 §10: files the model needs, and what the EDA tool passes in.
    {"Supporting_Files", k51, kInfo, kString, 0, kOpt, kChoiceFormats, true},
    {"DLL_Path", k51, kInInfo, kString, 0, kOpt, kValue, false},
    {"DLL_ID", k51, kInInfo, kString, 0, kOpt, kValue, false},
    // IBIS 6.0 §10: PAM4 signalling and repeaters (redrivers, retimers).
    {"Modulation", k60, kInfo, kString, 0, kOpt, kChoiceFormats, true},
    {"PAM4_Mapping", k60, kInfo, kString, 0, kOpt, kChoiceFormats, true},
    {"PAM4_UpperThreshold", k60, kInfoOut, kFloat, 0, kOpt, kNumberFormats, false},
    {"PAM4_CenterThreshold", k60, kInfoOut, kFloat, 0, kOpt, kNumberFormats, false},
    {"PAM4_LowerThreshold", k60, kInfoOut, kFloat, 0, kOpt, kNumberFormats, false},
    {"Repeater_Type", k60, kInfo, kString, 0, kOpt, kChoiceFormats, true},
    // IBIS 6.1 §10: Rx noise as Gaussian and uniform parts.
    {"Rx_GaussianNoise", k61, kInfoOut, kFloat, 0, kOpt, kLevelFormats, true},
    {"Rx_UniformNoise", k61, kInfoOut, kFloat, 0, kOpt, kLevelFormats, true},
    // IBIS 7.0 §10: back-channel interface.
    {"BCI_Protocol", k70, kInfo, kString, 0, kOpt, kChoiceFormats, true},
    {"BCI_ID", k70, kInOutAny, kString, 0, kOpt, kValue, false},
    {"BCI_State", k70, kInOutAny, kInteger | kString, 0, kOpt, kChoiceFormats, false},
    {"BCI_Message_Interval_UI", k70, kInfo, kInteger, 0, kOpt, kNumberFormats, true},
    {"BCI_Training_UI", k70, kInfo, kInteger, 0, kOpt, kNumberFormats, true},
    {"Resolve_Exists", k70, kInfo, kBoolean, 0, kOpt, kValue, true},
    {"Model_Name", k70, kInInfo, kString, 0, kOpt, kValue, false},
    {"Special_Param_Names", k70, kInfo, kString, 0, kOpt, kChoiceFormats, false},
    // IBIS 7.0 §10: the analog buffer of an AMI model given as a Touchstone file or a source.
    {"Ts4file", k70, kInfo, kString, 0, kOpt, kChoiceFormats | Bit(AMICHECK_KW_CORNER), true},
    {"Tx_V", k70, kInfo, kFloat, 0, kOpt, kNumberFormats, true},
    {"Tx_R", k70, kInfo, kFloat, 0, kOpt, kNumberFormats, true},
    {"Rx_R", k70, kInfo, kFloat, 0, kOpt, kNumberFormats, true},
    // IBIS 7.1 §10: forwarded clocks, PAMn signalling and the Rx DC offset.
    {"Rx_Use_Clock_Input", k71, kInfo, kString, 0, kOpt, kChoiceFormats, true},
    {"Modulation_Levels", k71, kInfo, kInteger, 0, kOpt, kNumberFormats, true},
    {"PAM_Thresholds", k71, kInfoOut, kString, 0, kOpt, kValue, false},
    {"DC_Offset", k71, kInOutAny, kFloat, 0, kOpt, kNumberFormats, false},
    // IBIS 7.2 §10: the Rx decision time within the unit interval.
    {"Rx_Decision_Time", k72, kInfoOut, kFloatUI, 0, kOpt, kNumberFormats, false},
};

const ReservedRule* FindRule(const char* name) {
  for (const ReservedRule& rule : kRules)
    if (std::strcmp(rule.name, name) == 0) return &rule;
  return nullptr;
}

bool InSet(uint32_t set, int keyword) { return keyword >= 0 && keyword < 32 && (set & Bit(keyword)) != 0; }

bool IsDataFormat(int keyword) { return keyword >= AMICHECK_KW_VALUE && keyword <= AMICHECK_KW_DJRJ; }

bool DefaultKindFits(DefaultRule rule, int kind) {
  switch (rule) {
    case DefaultRule::AnyRequired:
    case DefaultRule::Optional:
      return true;
    case DefaultRule::BooleanRequired:
      return kind == AMIVALUE_BOOLEAN;
    case DefaultRule::IntegerRequired:
      return kind == AMIVALUE_INTEGER;
    case DefaultRule::NumberOptional:
      return kind == AMIVALUE_INTEGER || kind == AMIVALUE_FLOAT;
  }
  return false;
}

// From 5.1 on a Default's kind follows the parameter's Type: a Boolean
// needs True or False, an Integer an integer, a Float or UI a number.
bool DefaultFitsType(int typeKeyword, int kind) {
  switch (typeKeyword) {
    case AMICHECK_KW_BOOLEAN:
      return kind == AMIVALUE_BOOLEAN;
    case AMICHECK_KW_INTEGER:
      return kind == AMIVALUE_INTEGER;
    case AMICHECK_KW_FLOAT:
    case AMICHECK_KW_UI:
      return kind == AMIVALUE_INTEGER || kind == AMIVALUE_FLOAT;
    default:
      return true;
  }
}

struct Present {
  bool usage = false, type = false, format = false, defaultValue = false, description = false;
  bool formatGiven = false;
  int typeKeyword = -1;
};

void CheckUsageAndType(const ReservedRule& rule, const AMILEAF* leaf, const char* param, Present* seen) {
  const AMIVALUE& first = leaf->values[0];
  if (leaf->property == AMICHECK_PROP_USAGE) {
    seen->usage = true;
    if (!InSet(rule.usage, first.keyword)) CHECK_ReportFile(4627, "Usage", first.text, param);
  } else {
    seen->type = true;
    seen->typeKeyword = first.keyword;
    if (!InSet(rule.type, first.keyword)) CHECK_ReportFile(4627, "Type", first.text, param);
  }
}

// The rules of IBIS 5.0 §6c.
void CheckProperty50(const ReservedRule& rule, const AMILEAF* leaf, const char* param, Present* seen) {
  const AMIVALUE& first = leaf->values[0];
  switch (leaf->property) {
    case AMICHECK_PROP_USAGE:
    case AMICHECK_PROP_TYPE:
      CheckUsageAndType(rule, leaf, param, seen);
      break;
    case AMICHECK_PROP_FORMAT:
      seen->formatGiven = true;
      if (rule.format50 == 0) break;  // reported once after the children
      if (!InSet(rule.format50, first.keyword))
        CHECK_ReportFile(4627, "Format", first.text, param);
      else if (AMICHECK_CheckFormatNumbers(leaf, param) == 1)
        seen->format = true;
      break;
    case AMICHECK_PROP_DEFAULT:
      if (DefaultKindFits(rule.defaultRule, first.kind))
        seen->defaultValue = true;
      else
        CHECK_ReportFile(4627, "Default", first.text, param);
      break;
    case AMICHECK_PROP_DESCRIPTION:
      seen->description = true;
      break;
    default:
      CHECK_ReportFile(4624, leaf->name, param);
      break;
  }
}

// The Type keyword of a parameter branch, wherever its leaf stands; -1 without one.
int TypeOf(const AMIBRANCH* param) {
  for (int i = 0; i < param->child_count; ++i) {
    const AMINODE& child = param->children[i];
    if (!child.body || child.kind != AMINODE_LEAF) continue;
    const AMILEAF* leaf = static_cast<const AMILEAF*>(child.body);
    if (leaf->property == AMICHECK_PROP_TYPE && leaf->value_count > 0 && leaf->values) return leaf->values[0].keyword;
  }
  return -1;
}

// IBIS 5.1 §10 (BIRD 136): the values of a data format are numbers unless
// the parameter is a String or a Boolean.
bool NumericType(int typeKeyword) { return typeKeyword != AMICHECK_KW_STRING && typeKeyword != AMICHECK_KW_BOOLEAN; }

// The rules from IBIS 5.1 §10 on: the value comes from Default or from a
// data format, written (Format Word ...) or (Word ...).
void CheckProperty51(const ReservedRule& rule, const AMILEAF* leaf, const char* param, Present* seen,
                     const AMILEAF** defaultLeaf, bool numbers) {
  const AMIVALUE& first = leaf->values[0];
  int leafWord = AMIVALUE_Keyword(leaf->name);
  switch (leaf->property) {
    case AMICHECK_PROP_USAGE:
    case AMICHECK_PROP_TYPE:
      CheckUsageAndType(rule, leaf, param, seen);
      return;
    case AMICHECK_PROP_FORMAT:
      if (!InSet(rule.formats, first.keyword))
        CHECK_ReportFile(4627, "Format", first.text, param);
      else if (AMICHECK_CheckFormatValues(first.keyword, first.text, leaf->values + 1, leaf->value_count - 1, param,
                                          numbers) == 1)
        seen->format = true;
      return;
    case AMICHECK_PROP_DEFAULT:
      seen->defaultValue = true;
      *defaultLeaf = leaf;
      return;
    case AMICHECK_PROP_DESCRIPTION:
      seen->description = true;
      return;
    case AMICHECK_PROP_LABELS:
      return;  // row labels of a Table format
    default:
      break;
  }
  if (IsDataFormat(leafWord)) {
    if (!InSet(rule.formats, leafWord))
      CHECK_ReportFile(4627, "Format", leaf->name, param);
    else if (AMICHECK_CheckFormatValues(leafWord, leaf->name, leaf->values, leaf->value_count, param, numbers) == 1)
      seen->format = true;
  } else if (std::strcmp(leaf->name, "List_Tip") != 0) {  // the texts shown for a List's entries
    CHECK_ReportFile(4624, leaf->name, param);
  }
}

}  // namespace

int AMIRES_ReservedSince(const char* name) {
  const ReservedRule* rule = name ? FindRule(name) : nullptr;
  return rule ? rule->since : 0;
}

int AMIRES_CheckReservedParam(const AMIBRANCH* param, int release) {
  const ReservedRule* rule = FindRule(param->name);
  if (!rule || rule->since > release) return 0;
  const bool rules50 = release < IBIS_RELEASE_51;
  const char* name = param->name;
  Present seen;
  const AMILEAF* defaultLeaf = nullptr;
  const bool numbers = NumericType(TypeOf(param));
  for (int i = 0; i < param->child_count; ++i) {
    const AMINODE& child = param->children[i];
    if (!child.body) continue;
    if (child.kind == AMINODE_BRANCH) {
      const char* branchName = static_cast<const AMIBRANCH*>(child.body)->name;
      // From 5.1 on a Table format is a branch of its own: (Table (Labels ...) (row) ...).
      if (!rules50 && branchName && std::strcmp(branchName, "Table") == 0 && InSet(rule->formats, AMICHECK_KW_TABLE))
        seen.format = true;
      else
        CHECK_ReportFile(4628, branchName, name);
      continue;
    }
    const AMILEAF* leaf = static_cast<const AMILEAF*>(child.body);
    if (leaf->value_count < 1 || !leaf->values)
      CHECK_ReportFile(4626, leaf->name, name);
    else if (rules50)
      CheckProperty50(*rule, leaf, name, &seen);
    else
      CheckProperty51(*rule, leaf, name, &seen, &defaultLeaf, numbers);
  }
  if (!seen.usage) CHECK_ReportFile(4630, "Usage", name);
  if (!seen.type) CHECK_ReportFile(4630, "Type", name);
  if (rules50) {
    bool formatRequired = rule->format50 != 0;
    bool defaultRequired = rule->defaultRule != DefaultRule::NumberOptional;
    if (formatRequired && !seen.format) CHECK_ReportFile(4630, "Format", name);
    if (defaultRequired && !seen.defaultValue) CHECK_ReportFile(4630, "Default", name);
    if (!seen.description) CHECK_ReportFile(4630, "Description", name);
    if (!formatRequired && seen.formatGiven) CHECK_ReportFile(4629, "Format", name);
    return 1;
  }
  if (defaultLeaf && !DefaultFitsType(seen.typeKeyword, defaultLeaf->values[0].kind))
    CHECK_ReportFile(4627, "Default", defaultLeaf->values[0].text, name);
  // A value is there when a data format or a Default gives one.
  if (rule->valueRequired && !seen.format && !seen.defaultValue) CHECK_ReportFile(4630, "Value", name);
  if (!seen.description) CHECK_ReportFile(4630, "Description", name);
  return 1;
}

void AMIRES_CheckReserved(PARSE_CONTEXT& ctx, const AMIBRANCH* reserved, int release) {
  bool initReturnsImpulse = false, getWaveExists = false, amiVersion = false;
  AMIVAL_CheckNames(ctx, reserved);
  for (int i = 0; i < reserved->child_count; ++i) {
    const AMINODE& child = reserved->children[i];
    if (!child.body) continue;
    if (child.kind == AMINODE_LEAF) {
      const AMILEAF* leaf = static_cast<const AMILEAF*>(child.body);
      CHECK_ReportFile(4600, leaf->name, "Reserved_Parameters");
      AMICHECK_CheckLeaf(ctx, leaf, "Reserved_Parameters");
      continue;
    }
    const AMIBRANCH* branch = static_cast<const AMIBRANCH*>(child.body);
    if (std::strcmp(branch->name, "Init_Returns_Impulse") == 0) initReturnsImpulse = true;
    if (std::strcmp(branch->name, "GetWave_Exists") == 0) getWaveExists = true;
    if (std::strcmp(branch->name, "AMI_Version") == 0) amiVersion = true;
    AMIVAL_CheckParameter(ctx, branch);
    if (!AMIRES_CheckReservedParam(branch, release)) {
      CHECK_ReportFile(4624, branch->name, "Reserved_Parameters");
      AMICHECK_WalkBranch(ctx, branch);
    }
  }
  if (!initReturnsImpulse) CHECK_ReportFile(4625, "Init_Returns_Impulse");
  if (!getWaveExists) CHECK_ReportFile(4625, "GetWave_Exists");
  // IBIS 5.1 §10 (BIRD 126): files written for 5.1 or later name their AMI version.
  if (release >= IBIS_RELEASE_51 && !amiVersion) CHECK_ReportFile(4625, "AMI_Version");
}
