// What a component names outside itself: circuit calls with their port maps, and interconnect model groups.
#pragma once

#include <string>
#include <vector>

#include "IbisParser/base/LineWords.h"

struct COMPONENT;

struct PORT_MAP {
  NAME_AT port;        // the circuit's port
  std::string target;  // a pin of [Pin] or a node of [Node Declarations]
};

struct CIRCUIT_CALL {
  std::string circuit;  // the [External Circuit] called
  unsigned long line = 0;
  std::vector<NAME_AT> pins;  // Signal_pin, Diff_signal_pins and Series_pins entries
  std::vector<PORT_MAP> portMap;
  bool ended = false;
};

struct INTERCONNECT_ENTRY {
  NAME_AT set;       // the interconnect model set
  std::string file;  // the file that defines it, empty for this file
};
