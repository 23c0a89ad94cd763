#include "IbisParser/AlgModReserved.h"

#include <cstdint>
#include <cstring>

#include "IbisParser/AlgModTree.h"
#include "amiparam/AmiTree.h"
#include "amiparam/Msg.h"

namespace {

constexpr uint32_t Bit(int keyword) { return 1u << keyword; }

enum class DefaultRule {
  AnyRequired,      // required, any value
  BooleanRequired,  // required, True or False
  IntegerRequired,  // required, an integer
  NumberOptional,   // optional, an integer or floating-point number
};

struct ReservedRule {
  const char* name;
  uint32_t usage;   // allowed Usage keywords
  uint32_t type;    // allowed Type keywords
  uint32_t format;  // allowed Format words; 0: Format must not be given
  DefaultRule defaultRule;
};

constexpr uint32_t kInfo = Bit(ALGMOD_KW_INFO);
constexpr uint32_t kInfoOut = Bit(ALGMOD_KW_INFO) | Bit(ALGMOD_KW_OUT);
constexpr uint32_t kFloatUI = Bit(ALGMOD_KW_FLOAT) | Bit(ALGMOD_KW_UI);
constexpr uint32_t kJitterFormats =
    Bit(ALGMOD_KW_TABLE) | Bit(ALGMOD_KW_GAUSSIAN) | Bit(ALGMOD_KW_DUAL_DIRAC) | Bit(ALGMOD_KW_DJRJ);
constexpr uint32_t kLevelFormats = Bit(ALGMOD_KW_VALUE) | Bit(ALGMOD_KW_RANGE) | Bit(ALGMOD_KW_CORNER);

constexpr ReservedRule kRules[] = {
    {"Init_Returns_Impulse", kInfo, Bit(ALGMOD_KW_BOOLEAN), 0, DefaultRule::AnyRequired},
    {"GetWave_Exists", kInfo, Bit(ALGMOD_KW_BOOLEAN), 0, DefaultRule::AnyRequired},
    {"Use_Init_Output", kInfo, Bit(ALGMOD_KW_BOOLEAN), 0, DefaultRule::BooleanRequired},
    {"Max_Init_Aggressors", kInfo, Bit(ALGMOD_KW_INTEGER), 0, DefaultRule::IntegerRequired},
    {"Ignore_Bits", kInfoOut, Bit(ALGMOD_KW_INTEGER), 0, DefaultRule::IntegerRequired},
    {"Tx_Jitter", kInfoOut, kFloatUI, kJitterFormats, DefaultRule::NumberOptional},
    {"Rx_Clock_PDF", kInfoOut, kFloatUI, kJitterFormats, DefaultRule::NumberOptional},
    {"Tx_DCD", kInfoOut, kFloatUI, kLevelFormats, DefaultRule::NumberOptional},
    {"Rx_Receiver_Sensitivity", kInfoOut, Bit(ALGMOD_KW_FLOAT), kLevelFormats, DefaultRule::NumberOptional},
};

const ReservedRule* FindRule(const char* name) {
  for (const ReservedRule& rule : kRules)
    if (std::strcmp(rule.name, name) == 0) return &rule;
  return nullptr;
}

bool InSet(uint32_t set, int keyword) { return keyword >= 0 && keyword < 32 && (set & Bit(keyword)) != 0; }

bool DefaultKindFits(DefaultRule rule, int kind) {
  switch (rule) {
    case DefaultRule::AnyRequired:
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

struct Present {
  bool usage = false, type = false, format = false, defaultValue = false, description = false;
  bool formatGiven = false;
};

void CheckProperty(const ReservedRule& rule, const AMILEAF* leaf, const char* param, Present* seen) {
  const AMIVALUE& first = leaf->values[0];
  switch (leaf->property) {
    case ALGMOD_PROP_USAGE:
      seen->usage = true;
      if (!InSet(rule.usage, first.keyword)) MSG_Code(MSG_LEVEL_ERROR, 4627, "Usage", first.text, param);
      break;
    case ALGMOD_PROP_TYPE:
      seen->type = true;
      if (!InSet(rule.type, first.keyword)) MSG_Code(MSG_LEVEL_ERROR, 4627, "Type", first.text, param);
      break;
    case ALGMOD_PROP_FORMAT:
      seen->formatGiven = true;
      if (rule.format == 0) break;  // reported once after the children
      if (!InSet(rule.format, first.keyword))
        MSG_Code(MSG_LEVEL_ERROR, 4627, "Format", first.text, param);
      else if (ALGMOD_CheckFormatNumbers(leaf, param) == 1)
        seen->format = true;
      break;
    case ALGMOD_PROP_DEFAULT:
      if (DefaultKindFits(rule.defaultRule, first.kind))
        seen->defaultValue = true;
      else
        MSG_Code(MSG_LEVEL_ERROR, 4627, "Default", first.text, param);
      break;
    case ALGMOD_PROP_DESCRIPTION:
      seen->description = true;
      break;
    default:
      MSG_Code(MSG_LEVEL_ERROR, 4624, leaf->name, param);
      break;
  }
}

}  // namespace

int ALGMOD_CheckReservedParam(const AMIBRANCH* param) {
  const ReservedRule* rule = FindRule(param->name);
  if (!rule) return 0;
  const char* name = param->name;
  Present seen;
  for (int i = 0; i < param->child_count; ++i) {
    const AMINODE& child = param->children[i];
    if (!child.body) continue;
    if (child.kind == AMINODE_BRANCH) {
      MSG_Code(MSG_LEVEL_ERROR, 4628, static_cast<const AMIBRANCH*>(child.body)->name, name);
      continue;
    }
    const AMILEAF* leaf = static_cast<const AMILEAF*>(child.body);
    if (leaf->value_count < 1 || !leaf->values)
      MSG_Code(MSG_LEVEL_ERROR, 4626, leaf->name, name);
    else
      CheckProperty(*rule, leaf, name, &seen);
  }
  bool formatRequired = rule->format != 0;
  bool defaultRequired = rule->defaultRule != DefaultRule::NumberOptional;
  if (!seen.usage) MSG_Code(MSG_LEVEL_ERROR, 4630, "Usage", name);
  if (!seen.type) MSG_Code(MSG_LEVEL_ERROR, 4630, "Type", name);
  if (formatRequired && !seen.format) MSG_Code(MSG_LEVEL_ERROR, 4630, "Format", name);
  if (defaultRequired && !seen.defaultValue) MSG_Code(MSG_LEVEL_ERROR, 4630, "Default", name);
  if (!seen.description) MSG_Code(MSG_LEVEL_ERROR, 4630, "Description", name);
  if (!formatRequired && seen.formatGiven) MSG_Code(MSG_LEVEL_ERROR, 4629, "Format", name);
  return 1;
}

void ALGMOD_CheckReserved(const AMIBRANCH* reserved) {
  bool initReturnsImpulse = false, getWaveExists = false;
  for (int i = 0; i < reserved->child_count; ++i) {
    const AMINODE& child = reserved->children[i];
    if (!child.body) continue;
    if (child.kind == AMINODE_LEAF) {
      const AMILEAF* leaf = static_cast<const AMILEAF*>(child.body);
      MSG_Code(MSG_LEVEL_ERROR, 4600, leaf->name, "Reserved_Parameters");
      ALGMOD_CheckLeaf(leaf, "Reserved_Parameters");
      continue;
    }
    const AMIBRANCH* branch = static_cast<const AMIBRANCH*>(child.body);
    if (std::strcmp(branch->name, "Init_Returns_Impulse") == 0) initReturnsImpulse = true;
    if (std::strcmp(branch->name, "GetWave_Exists") == 0) getWaveExists = true;
    if (!ALGMOD_CheckReservedParam(branch)) {
      MSG_Code(MSG_LEVEL_ERROR, 4624, branch->name, "Reserved_Parameters");
      ALGMOD_WalkBranch(branch);
    }
  }
  if (!initReturnsImpulse) MSG_Code(MSG_LEVEL_ERROR, 4625, "Init_Returns_Impulse");
  if (!getWaveExists) MSG_Code(MSG_LEVEL_ERROR, 4625, "GetWave_Exists");
}
