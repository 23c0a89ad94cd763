// A component as read: its pins, pin mapping, differential, series and repeater pins, bus labels, die supply pads,
// clock pins, switch groups and package.
#pragma once

#include <string>
#include <vector>

#include "IbisParser/records/ComponentLinks.h"

struct PKG;

struct PIN_ROW {
  std::string name, signal, model;  // the first three columns
  std::string r, l, c;              // R_pin, L_pin, C_pin when the header has them
  unsigned long line;
};

struct DIFF_PIN_ROW {
  std::string pin, invPin, vdiff, tdelayTyp, tdelayMin, tdelayMax;
  unsigned long line;
};

struct PIN_MAPPING_ROW {
  std::string pin;
  std::vector<std::string> buses;  // pulldown_ref, pullup_ref, gnd_clamp_ref, power_clamp_ref, ext_ref as given
  unsigned long line;
};

struct SERIES_PIN_ROW {
  std::string pin1, pin2, model, group;  // group empty when not given
  unsigned long line;
};

struct REPEATER_PIN_ROW {
  std::string pin, txNonInvPin;  // the Rx pin and the Tx pin it repeats to
  unsigned long line;
};

// [Bus Label] rows (7.0): a bus label and the signal_name it belongs to.
struct BUS_LABEL_ROW {
  std::string label, signal;
  unsigned long line;
};

// [Die Supply Pads] rows (7.0): a die pad, its signal_name and (optional) bus label.
struct DIE_SUPPLY_PAD_ROW {
  std::string pad, signal, busLabel;
  unsigned long line;
};

// [Clock Pins] rows (7.1): a clock pin, a pin it clocks, and how they relate.
struct CLOCK_PIN_ROW {
  std::string pin, clockedPin, relationship;
  unsigned long line;
};

struct SWITCH_GROUP {
  bool on;                          // On or Off
  std::vector<std::string> groups;  // the function_table_group names
  unsigned long line;
};

struct COMPONENT {
  COMPONENT* next = nullptr;
  char* name = nullptr;    // the text after [Component], null when there is none
  PKG* package = nullptr;  // created at [Package], null before
  unsigned long line = 0;  // line of [Component]
  std::string siLocation, timingLocation, manufacturer;
  int manufacturerCount = 0, packageCount = 0, pinCount = 0, pinMappingCount = 0;
  int pinColumns = 3;  // 3, or 6 when the [Pin] header names R_pin, L_pin and C_pin
  std::vector<PIN_ROW> pins;
  std::vector<PIN_MAPPING_ROW> pinMapping;
  std::vector<DIFF_PIN_ROW> diffPins;
  std::vector<SERIES_PIN_ROW> seriesPins;
  std::vector<SWITCH_GROUP> switchGroups;
  std::vector<REPEATER_PIN_ROW> repeaterPins;
  std::vector<BUS_LABEL_ROW> busLabels;
  std::vector<DIE_SUPPLY_PAD_ROW> dieSupplyPads;
  std::vector<CLOCK_PIN_ROW> clockPins;
  int pinMappingColumns = 0;  // columns the [Pin Mapping] header names
  // What the component names outside itself (ComponentLinks.h).
  NAME_AT packageModel{std::string(), 0};  // [Package Model], empty when not given
  std::vector<NAME_AT> alternatePackageModels, nodes;
  std::vector<CIRCUIT_CALL> circuitCalls;
  std::vector<INTERCONNECT_ENTRY> interconnectGroups;
};

// Releases a list of components and their packages; nulls *ppList.
void COMPREC_FreeAll(COMPONENT** ppList);
