#include "IbisParser/base/KeywordTables.h"

#include <cstring>

#include "IbisParser/base/CmnWords.h"
#include "amiparam/Cmn.h"

namespace {

// Every keyword with the first version whose set holds it (KEY_SET_*), in id
// order; COMMENT_CHAR, END and NOT_KEY close each set. The keywords that
// later versions added follow the ones up to 5.0, each with the version and
// section of the standard that defines it. 5.1, 6.1 and 7.2 added no
// keyword (the standard's keyword trees of those versions list none).
struct Keyword {
  const char* name;
  int id;
  int since;
};

constexpr Keyword kKeywords[] = {
    {"IBIS_VER", 0, KEY_SET_21},
    {"FILE_NAME", 2, KEY_SET_21},
    {"FILE_REV", 3, KEY_SET_21},
    {"DATE", 4, KEY_SET_21},
    {"SOURCE", 5, KEY_SET_21},
    {"NOTES", 6, KEY_SET_21},
    {"DISCLAIMER", 7, KEY_SET_21},
    {"COPYRIGHT", 8, KEY_SET_21},
    {"COMPONENT", 9, KEY_SET_21},
    {"MANUFACTURER", 10, KEY_SET_21},
    {"PACKAGE", 11, KEY_SET_21},
    {"PIN", 12, KEY_SET_21},
    {"PACKAGE_MODEL", 13, KEY_SET_21},
    {"PIN_MAPPING", 14, KEY_SET_21},
    {"DIFF_PIN", 15, KEY_SET_21},
    {"SERIES_SWITCH_GROUPS", 16, KEY_SET_32},
    {"SERIES_PIN_MAPPING", 17, KEY_SET_32},
    {"ALTERNATE_PACKAGE_MODELS", 18, KEY_SET_42},
    {"END_ALTERNATE_PACKAGE_MODELS", 19, KEY_SET_42},
    {"NODE_DECLARATIONS", 20, KEY_SET_42},
    {"END_NODE_DECLARATIONS", 21, KEY_SET_42},
    {"CIRCUIT_CALL", 22, KEY_SET_42},
    {"END_CIRCUIT_CALL", 23, KEY_SET_42},
    {"EXTERNAL_CIRCUIT", 24, KEY_SET_42},
    {"END_EXTERNAL_CIRCUIT", 25, KEY_SET_42},
    {"BEGIN_EMI_COMPONENT", 26, KEY_SET_50},
    {"END_EMI_COMPONENT", 27, KEY_SET_50},
    {"PIN_EMI", 28, KEY_SET_50},
    {"PIN_DOMAIN_EMI", 29, KEY_SET_50},
    {"EXTERNAL_MODEL", 30, KEY_SET_42},
    {"END_EXTERNAL_MODEL", 31, KEY_SET_42},
    {"MODEL", 32, KEY_SET_21},
    {"TEMPERATURE_RANGE", 33, KEY_SET_21},
    {"VOLTAGE_RANGE", 34, KEY_SET_21},
    {"PULLUP_REFERENCE", 35, KEY_SET_21},
    {"PULLDOWN_REFERENCE", 36, KEY_SET_21},
    {"POWER_CLAMP_REFERENCE", 37, KEY_SET_21},
    {"GND_CLAMP_REFERENCE", 38, KEY_SET_21},
    {"EXTERNAL_REFERENCE", 39, KEY_SET_32},
    {"PULLDOWN", 40, KEY_SET_21},
    {"PULLUP", 41, KEY_SET_21},
    {"GND_CLAMP", 42, KEY_SET_21},
    {"POWER_CLAMP", 43, KEY_SET_21},
    {"RGND", 44, KEY_SET_21},
    {"RPOWER", 45, KEY_SET_21},
    {"RAC", 46, KEY_SET_21},
    {"CAC", 47, KEY_SET_21},
    {"RAMP", 48, KEY_SET_21},
    {"RISING_WAVEFORM", 49, KEY_SET_21},
    {"FALLING_WAVEFORM", 50, KEY_SET_21},
    {"TTGND", 51, KEY_SET_32},
    {"TTPOWER", 52, KEY_SET_32},
    {"MODEL_SPEC", 53, KEY_SET_32},
    {"RECEIVER_THRESHOLDS", 54, KEY_SET_42},
    {"DRIVER_SCHEDULE", 55, KEY_SET_32},
    {"ON", 56, KEY_SET_32},
    {"OFF", 57, KEY_SET_32},
    {"R_SERIES", 58, KEY_SET_32},
    {"L_SERIES", 59, KEY_SET_32},
    {"RL_SERIES", 60, KEY_SET_32},
    {"C_SERIES", 61, KEY_SET_32},
    {"LC_SERIES", 62, KEY_SET_32},
    {"RC_SERIES", 63, KEY_SET_32},
    {"SERIES_CURRENT", 64, KEY_SET_32},
    {"SERIES_MOSFET", 65, KEY_SET_32},
    {"ADD_SUBMODEL", 66, KEY_SET_32},
    {"ALGORITHMIC_MODEL", 67, KEY_SET_50},
    {"END_ALGORITHMIC_MODEL", 68, KEY_SET_50},
    {"ISSO_PD", 69, KEY_SET_50},
    {"ISSO_PU", 70, KEY_SET_50},
    {"COMPOSITE_CURRENT", 71, KEY_SET_50},
    {"BEGIN_EMI_MODEL", 72, KEY_SET_50},
    {"END_EMI_MODEL", 73, KEY_SET_50},
    {"DEFINE_PACKAGE_MODEL", 74, KEY_SET_21},
    {"MANUFACTURER", 75, KEY_SET_21},
    {"OEM", 76, KEY_SET_21},
    {"DESCRIPTION", 77, KEY_SET_21},
    {"NUMBER_OF_PINS", 78, KEY_SET_21},
    {"PIN_NUMBERS", 79, KEY_SET_21},
    {"MODEL_DATA", 80, KEY_SET_21},
    {"RESISTANCE_MATRIX", 81, KEY_SET_21},
    {"INDUCTANCE_MATRIX", 82, KEY_SET_21},
    {"CAPACITANCE_MATRIX", 83, KEY_SET_21},
    {"BANDWIDTH", 84, KEY_SET_21},
    {"ROW", 85, KEY_SET_21},
    {"END_MODEL_DATA", 86, KEY_SET_21},
    {"END_PACKAGE_MODEL", 87, KEY_SET_21},
    {"NUMBER_OF_SECTIONS", 88, KEY_SET_32},
    {"BEGIN_BOARD_DESCRIPTION", 89, KEY_SET_32},
    {"MANUFACTURER", 90, KEY_SET_32},
    {"NUMBER_OF_PINS", 91, KEY_SET_32},
    {"PIN_LIST", 92, KEY_SET_32},
    {"PATH_DESCRIPTION", 93, KEY_SET_32},
    {"REFERENCE_DESIGNATOR_MAP", 94, KEY_SET_32},
    {"END_BOARD_DESCRIPTION", 95, KEY_SET_32},
    {"MODEL_SELECTOR", 96, KEY_SET_32},
    {"SUBMODEL", 97, KEY_SET_32},
    {"SUBMODEL_SPEC", 98, KEY_SET_32},
    {"GND_PULSE_TABLE", 99, KEY_SET_32},
    {"POWER_PULSE_TABLE", 100, KEY_SET_32},
    {"PULLDOWN", 101, KEY_SET_32},
    {"PULLUP", 102, KEY_SET_32},
    {"GND_CLAMP", 103, KEY_SET_32},
    {"POWER_CLAMP", 104, KEY_SET_32},
    {"RAMP", 105, KEY_SET_32},
    {"RISING_WAVEFORM", 106, KEY_SET_32},
    {"FALLING_WAVEFORM", 107, KEY_SET_32},
    {"TEST_DATA", 108, KEY_SET_42},
    {"RISING_WAVEFORM_NEAR", 109, KEY_SET_42},
    {"RISING_WAVEFORM_FAR", 110, KEY_SET_42},
    {"FALLING_WAVEFORM_NEAR", 111, KEY_SET_42},
    {"FALLING_WAVEFORM_FAR", 112, KEY_SET_42},
    {"DIFF_RISING_WAVEFORM_NEAR", 113, KEY_SET_42},
    {"DIFF_RISING_WAVEFORM_FAR", 114, KEY_SET_42},
    {"DIFF_FALLING_WAVEFORM_NEAR", 115, KEY_SET_42},
    {"DIFF_FALLING_WAVEFORM_FAR", 116, KEY_SET_42},
    {"TEST_LOAD", 117, KEY_SET_42},
    {"REPEATER_PIN", 120, KEY_SET_60},                  // IBIS 6.0 §5 component description
    {"INTERCONNECT_MODEL_GROUP", 121, KEY_SET_70},      // IBIS 7.0 §5 component, interconnect models
    {"END_INTERCONNECT_MODEL_GROUP", 122, KEY_SET_70},  // IBIS 7.0 §5
    {"BUS_LABEL", 123, KEY_SET_70},                     // IBIS 7.0 §5 component description
    {"DIE_SUPPLY_PADS", 124, KEY_SET_70},               // IBIS 7.0 §5 component description
    {"INTERCONNECT_MODEL_SET", 125, KEY_SET_70},        // IBIS 7.0 interconnect modeling section
    {"END_INTERCONNECT_MODEL_SET", 126, KEY_SET_70},    // IBIS 7.0 interconnect modeling section
    {"INTERCONNECT_MODEL", 127, KEY_SET_70},            // IBIS 7.0 interconnect modeling section
    {"END_INTERCONNECT_MODEL", 128, KEY_SET_70},        // IBIS 7.0 interconnect modeling section
    {"C_COMP_MODEL", 129, KEY_SET_70},                  // IBIS 7.0 §6 model statement
    {"END_C_COMP_MODEL", 130, KEY_SET_70},              // IBIS 7.0 §6 model statement
    {"CLOCK_PINS", 131, KEY_SET_71},                    // IBIS 7.1 §5 component description
    {"COMMENT_CHAR", 1, KEY_SET_21},
    {"END", 118, KEY_SET_21},
    {"NOT_KEY", 119, KEY_SET_21},
};

constexpr int kKeywordCount = static_cast<int>(sizeof(kKeywords) / sizeof(kKeywords[0]));

// The sets, built once from the list above.
struct Sets {
  KEY_ROW rows[KEY_SET_COUNT][kKeywordCount];
  int size[KEY_SET_COUNT];
  bool holds[KEY_SET_COUNT][KEY_ID_COUNT];
  Sets() : rows{}, size{}, holds{} {
    for (int set = 0; set < KEY_SET_COUNT; ++set) {
      for (const Keyword& k : kKeywords) {
        if (k.since > set) continue;
        rows[set][size[set]++] = KEY_ROW{k.name, k.id};
        holds[set][k.id] = true;
      }
    }
  }
};

const Sets& TheSets() {
  static const Sets sets;
  return sets;
}

bool ValidSet(int set) { return set >= 0 && set < KEY_SET_COUNT; }

}  // namespace

const KEY_ROW* KEY_Table(int set) { return ValidSet(set) ? TheSets().rows[set] : nullptr; }

int KEY_TableSize(int set) { return ValidSet(set) ? TheSets().size[set] : 0; }

int KEY_Lookup(int set, const char* name) {
  if (!ValidSet(set) || !name) return -1;
  const Sets& sets = TheSets();
  for (int i = 0; i < sets.size[set]; ++i) {
    const KEY_ROW& row = sets.rows[set][i];
    if (row.id == KEY_NOT_KEY) continue;
    if (CMN_EqualNoCase(row.name, name)) return row.id;
  }
  return -1;
}

int KEY_InSet(int set, int id) {
  if (!ValidSet(set) || id < 0 || id >= KEY_ID_COUNT) return 0;
  return TheSets().holds[set][id] ? 1 : 0;
}

int KEY_SectionOf(int id) {
  if (id == 0 || (id >= 2 && id <= 8)) return KEY_SECTION_HEADER;
  if ((id >= 9 && id <= 23) || (id >= 26 && id <= 29)) return KEY_SECTION_COMPONENT;
  if (id == 24 || id == 25) return KEY_SECTION_EXTERNAL_CIRCUIT;
  if (id >= 30 && id <= 73) return KEY_SECTION_MODEL;
  if (id >= 74 && id <= 88) return KEY_SECTION_PACKAGE_MODEL;
  if (id >= 89 && id <= 95) return KEY_SECTION_BOARD;
  if (id == 96) return KEY_SECTION_MODEL_SELECTOR;
  if (id >= 97 && id <= 107) return KEY_SECTION_SUBMODEL;
  if (id >= 108 && id <= 116) return KEY_SECTION_TEST_DATA;
  if (id == 117) return KEY_SECTION_TEST_LOAD;
  if (id == 118) return KEY_SECTION_END;
  if (id == KEY_REPEATER_PIN || (id >= KEY_INTERCONNECT_MODEL_GROUP && id <= KEY_DIE_SUPPLY_PADS) ||
      id == KEY_CLOCK_PINS)
    return KEY_SECTION_COMPONENT;
  if (id >= KEY_INTERCONNECT_MODEL_SET && id <= KEY_END_INTERCONNECT_MODEL) return KEY_SECTION_INTERCONNECT;
  if (id == KEY_C_COMP_MODEL || id == KEY_END_C_COMP_MODEL) return KEY_SECTION_MODEL;
  return KEY_SECTION_NONE;
}

int KEY_OpensSection(int id) {
  switch (id) {
    case KEY_IBIS_VER:
    case KEY_COMPONENT:
    case KEY_EXTERNAL_CIRCUIT:
    case KEY_MODEL:
    case KEY_DEFINE_PACKAGE_MODEL:
    case KEY_BEGIN_BOARD_DESCRIPTION:
    case KEY_MODEL_SELECTOR:
    case KEY_SUBMODEL:
    case KEY_TEST_DATA:
    case KEY_TEST_LOAD:
    case KEY_INTERCONNECT_MODEL_SET:
      return 1;
    default:
      return 0;
  }
}

const char* KEY_AfterKeyword(const char* line) {
  const char* close = line ? std::strchr(line, ']') : nullptr;
  if (!close) return nullptr;
  const char* rest = close + 1;
  CMN_SkipSpace(&rest);
  return rest;
}
