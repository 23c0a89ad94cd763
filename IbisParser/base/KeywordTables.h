// The IBIS keyword sets of versions 2.1, 3.2, 4.2, 5.0, 5.1, 6.0, 6.1, 7.0,
// 7.1 and 7.2: every keyword has an id (0 to 119 for the keywords up to 5.0,
// 120 on for those later versions added), and each set lists (name, id) rows
// in id order, ending with COMMENT_CHAR, END and NOT_KEY. Names are upper case
// with '_' for blanks. Each set holds the one before it.
#pragma once

// Keyword sets.
enum {
  KEY_SET_21 = 0,
  KEY_SET_32 = 1,
  KEY_SET_42 = 2,
  KEY_SET_50 = 3,
  KEY_SET_51 = 4,
  KEY_SET_60 = 5,
  KEY_SET_61 = 6,
  KEY_SET_70 = 7,
  KEY_SET_71 = 8,
  KEY_SET_72 = 9,
  KEY_SET_COUNT = 10,
};

// Keyword ids the driver and the section handlers name.
enum {
  KEY_IBIS_VER = 0,
  KEY_COMMENT_CHAR = 1,
  KEY_FILE_NAME = 2,
  KEY_FILE_REV = 3,
  KEY_DATE = 4,
  KEY_SOURCE = 5,
  KEY_NOTES = 6,
  KEY_DISCLAIMER = 7,
  KEY_COPYRIGHT = 8,
  KEY_COMPONENT = 9,
  KEY_MANUFACTURER = 10,
  KEY_PACKAGE = 11,
  KEY_PIN = 12,
  KEY_PACKAGE_MODEL = 13,
  KEY_PIN_MAPPING = 14,
  KEY_DIFF_PIN = 15,
  KEY_SERIES_SWITCH_GROUPS = 16,
  KEY_SERIES_PIN_MAPPING = 17,
  KEY_EXTERNAL_CIRCUIT = 24,
  KEY_END_EXTERNAL_CIRCUIT = 25,
  KEY_MODEL = 32,
  KEY_PULLDOWN = 40,
  KEY_PULLUP = 41,
  KEY_GND_CLAMP = 42,
  KEY_POWER_CLAMP = 43,
  KEY_RAMP = 48,
  KEY_RISING_WAVEFORM = 49,
  KEY_FALLING_WAVEFORM = 50,
  KEY_ALGORITHMIC_MODEL = 67,
  KEY_END_ALGORITHMIC_MODEL = 68,
  KEY_DEFINE_PACKAGE_MODEL = 74,
  KEY_PKG_MANUFACTURER = 75,
  KEY_DESCRIPTION = 77,
  KEY_NUMBER_OF_PINS = 78,
  KEY_BEGIN_BOARD_DESCRIPTION = 89,
  KEY_EBD_MANUFACTURER = 90,
  KEY_EBD_NUMBER_OF_PINS = 91,
  KEY_MODEL_SELECTOR = 96,
  KEY_SUBMODEL = 97,
  KEY_SUB_PULLDOWN = 101,
  KEY_SUB_PULLUP = 102,
  KEY_SUB_GND_CLAMP = 103,
  KEY_SUB_POWER_CLAMP = 104,
  KEY_SUB_RAMP = 105,
  KEY_SUB_RISING_WAVEFORM = 106,
  KEY_SUB_FALLING_WAVEFORM = 107,
  KEY_TEST_DATA = 108,
  KEY_TEST_LOAD = 117,
  KEY_END = 118,
  KEY_NOT_KEY = 119,
  // Keywords of the versions after 5.0, numbered after the ones before.
  KEY_REPEATER_PIN = 120,
  KEY_INTERCONNECT_MODEL_GROUP = 121,
  KEY_END_INTERCONNECT_MODEL_GROUP = 122,
  KEY_BUS_LABEL = 123,
  KEY_DIE_SUPPLY_PADS = 124,
  KEY_INTERCONNECT_MODEL_SET = 125,
  KEY_END_INTERCONNECT_MODEL_SET = 126,
  KEY_INTERCONNECT_MODEL = 127,
  KEY_END_INTERCONNECT_MODEL = 128,
  KEY_C_COMP_MODEL = 129,
  KEY_END_C_COMP_MODEL = 130,
  KEY_CLOCK_PINS = 131,
  KEY_ID_COUNT = 132,
};

// Keyword ids of the package model, board description, external model and
// circuit, and interconnect sections.
enum {
  KEY_ALTERNATE_PACKAGE_MODELS = 18,
  KEY_END_ALTERNATE_PACKAGE_MODELS = 19,
  KEY_NODE_DECLARATIONS = 20,
  KEY_END_NODE_DECLARATIONS = 21,
  KEY_CIRCUIT_CALL = 22,
  KEY_END_CIRCUIT_CALL = 23,
  KEY_EXTERNAL_MODEL = 30,
  KEY_END_EXTERNAL_MODEL = 31,
  KEY_OEM = 76,
  KEY_PIN_NUMBERS = 79,
  KEY_MODEL_DATA = 80,
  KEY_RESISTANCE_MATRIX = 81,  // then INDUCTANCE_MATRIX 82 and CAPACITANCE_MATRIX 83
  KEY_BANDWIDTH = 84,
  KEY_MATRIX_ROW = 85,
  KEY_END_MODEL_DATA = 86,
  KEY_END_PACKAGE_MODEL = 87,
  KEY_NUMBER_OF_SECTIONS = 88,
  KEY_PIN_LIST = 92,
  KEY_PATH_DESCRIPTION = 93,
  KEY_REFERENCE_DESIGNATOR_MAP = 94,
  KEY_END_BOARD_DESCRIPTION = 95,
};

// One row of a keyword set.
struct KEY_ROW {
  const char* name;
  int id;
};

// Rows of set `set` (KEY_SET_*) and their number (50, 88, 109, 120, then
// 120, 121, 121, 131, 132, 132 for 5.1 to 7.2).
const KEY_ROW* KEY_Table(int set);
int KEY_TableSize(int set);

// Id of the first row of `set` whose name equals `name` without regard to
// case; the closing NOT_KEY row is not a keyword. -1 when there is none.
int KEY_Lookup(int set, const char* name);

// 1 when set `set` holds keyword id `id`.
int KEY_InSet(int set, int id);

// Sections that keyword lines open and data lines belong to.
enum {
  KEY_SECTION_NONE = 0,
  KEY_SECTION_HEADER,
  KEY_SECTION_COMPONENT,
  KEY_SECTION_EXTERNAL_CIRCUIT,
  KEY_SECTION_MODEL,
  KEY_SECTION_PACKAGE_MODEL,
  KEY_SECTION_BOARD,
  KEY_SECTION_MODEL_SELECTOR,
  KEY_SECTION_SUBMODEL,
  KEY_SECTION_TEST_DATA,
  KEY_SECTION_TEST_LOAD,
  KEY_SECTION_END,
  KEY_SECTION_INTERCONNECT,  // [Interconnect Model Set] ... [End Interconnect Model Set]
};

// Section of keyword id `id` (KEY_SECTION_NONE for NOT_KEY and unknown ids).
int KEY_SectionOf(int id);

// 1 when keyword `id` opens its section (IBIS_VER, COMPONENT, MODEL, ...).
int KEY_OpensSection(int id);

// Text after the keyword of a keyword line and the whitespace after it;
// null when the line has no ']'.
const char* KEY_AfterKeyword(const char* line);
