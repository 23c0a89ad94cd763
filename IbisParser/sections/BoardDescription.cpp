#include "IbisParser/sections/BoardDescription.h"
#include "IbisParser/base/RecordList.h"

#include <memory>
#include <unordered_set>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/NamedFile.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/RlcSection.h"
#include "amiparam/Msg.h"

namespace {

constexpr const char* kPath = "Path Description";

// What a path read last: a branch ends well at a Pin or a Node. After a
// word that was reported, where the branch ends is not known: not reported again.
enum LastItem { kNothing, kPin, kNode, kSection, kFork, kEndfork, kUnknown };

bool EndsWell(LastItem last) { return last == kPin || last == kNode || last == kUnknown; }

}  // namespace

struct EBD_READING {
  EBD_PATH* path = nullptr;  // the open path, or null
  LastItem last = kNothing;
  bool startReported = false;
  RLC_SECTION section;
  std::vector<unsigned long> forks;  // lines of the open Forks
};

namespace {

// The open board's reading, made on first use.
EBD_READING& EbdRead(PARSE_CONTEXT& ctx) {
  if (!ctx.ebdReading) ctx.ebdReading = std::make_shared<EBD_READING>();
  return *ctx.ebdReading;
}

const char* NameOf(const BOARD* board) { return board->name.c_str(); }

// IBIS 3.2 board description: [Manufacturer], [Number Of Pins], [Pin List]
// and [Reference Designator Map] stand once in a board.
void Once(int* count, const char* keyword, const BOARD* board) {
  if (++*count > 1) CHECK_Report(5502, keyword, NameOf(board));
}

// A path ends with its last branch at a Pin or a Node, every Fork closed.
void ClosePath(PARSE_CONTEXT& ctx) {
  EBD_PATH* path = EbdRead(ctx).path;
  if (!path) return;
  const char* name = path->name.c_str();
  if (!EbdRead(ctx).forks.empty())
    CHECK_Report(5456, ("Path '" + path->name + "'").c_str(), static_cast<int>(EbdRead(ctx).forks.size()),
                 static_cast<int>(EbdRead(ctx).forks.front()));
  if (EbdRead(ctx).last == kNothing)
    CHECK_ReportAt(path->line, 5508, name);
  else if (!EndsWell(EbdRead(ctx).last))
    CHECK_Report(5512, name);
  EbdRead(ctx) = EBD_READING{};
}

// The first item of a path is the board pin it starts at.
void Started(PARSE_CONTEXT& ctx, EBD_PATH* path) {
  if (EbdRead(ctx).last == kNothing && !EbdRead(ctx).startReported) {
    CHECK_Report(5508, path->name.c_str());
    EbdRead(ctx).startReported = true;
  }
}

// A [Path Description] line: Pin and Node with their names, Len/L/R/C
// sections each closed by '/', Fork and Endfork around the sections of a
// branch (IBIS 3.2 board description).
void PathLine(PARSE_CONTEXT& ctx, EBD_PATH* path, const char* text) {
  std::vector<RLC_ITEM> items = RLC_Items(text);
  for (size_t n = 0; n < items.size(); ++n) {
    const RLC_ITEM& item = items[n];
    if (item.kind == RLC_ITEM::ASSIGN) {
      Started(ctx, path);
      if (!EbdRead(ctx).section.open) EbdRead(ctx).last = kSection;
      RLC_Assign(&EbdRead(ctx).section, item, kPath);
      continue;
    }
    if (item.kind == RLC_ITEM::SLASH) {
      path->sections += RLC_Close(&EbdRead(ctx).section, kPath);
      continue;
    }
    RLC_Interrupt(&EbdRead(ctx).section, kPath);
    const bool pin = CMN_EqualNoCase(item.name.c_str(), "Pin");
    if (pin || CMN_EqualNoCase(item.name.c_str(), "Node")) {
      if (n + 1 >= items.size() || items[n + 1].kind != RLC_ITEM::WORD) {
        CHECK_Report(5522, item.name.c_str(), path->name.c_str());
        continue;
      }
      const std::string& name = items[++n].name;
      if (pin) {
        path->pins.push_back({name, gulLineNumber});
        EbdRead(ctx).last = kPin;
        continue;
      }
      Started(ctx, path);
      const size_t dot = name.find('.');
      if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
        CHECK_Report(5510, name.c_str());
      else
        path->nodes.push_back({name, gulLineNumber});
      EbdRead(ctx).last = kNode;
    } else if (CMN_EqualNoCase(item.name.c_str(), "Fork")) {
      Started(ctx, path);
      EbdRead(ctx).forks.push_back(gulLineNumber);
      ++path->forks;
      EbdRead(ctx).last = kFork;
    } else if (CMN_EqualNoCase(item.name.c_str(), "Endfork")) {
      if (EbdRead(ctx).forks.empty()) {
        CHECK_Report(5455, kPath);
        continue;
      }
      EbdRead(ctx).forks.pop_back();
      if (!EndsWell(EbdRead(ctx).last)) CHECK_Report(5513, path->name.c_str());
      EbdRead(ctx).last = kEndfork;
    } else {
      CHECK_Report(5514, item.name.c_str());
      EbdRead(ctx).last = kUnknown;
      return;
    }
  }
  ctx.unterminatedRLC = EbdRead(ctx).section.open ? 1 : 0;
}

void PinListRow(BOARD* board, const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() != 2) {
    CHECK_Report(5505, static_cast<int>(words.size()));
    if (words.empty()) return;
    words.resize(2);
  }
  auto first = board->pinIndex.emplace(words[0], board->pins.size());
  if (!first.second) {
    CHECK_Report(5506, words[0].c_str(), static_cast<int>(board->pins[first.first->second].line));
    return;
  }
  board->pins.push_back({words[0], words[1], gulLineNumber});
}

void DesignatorRow(BOARD* board, const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() != 3) {
    CHECK_Report(5515, static_cast<int>(words.size()));
    if (words.size() < 3) return;
  }
  for (const EBD_DESIGNATOR& d : board->designators)
    if (CMN_EqualNoCase(d.designator.c_str(), words[0].c_str())) {
      CHECK_Report(5516, words[0].c_str(), static_cast<int>(d.line));
      return;
    }
  board->designators.push_back({words[0], words[1], words[2], gulLineNumber});
}

void KeywordLine(PARSE_CONTEXT& ctx, BOARD* board, int id, const char* text) {
  const char* rest = KEY_AfterKeyword(text);
  EbdRead(ctx).section.open = false;  // an open section was reported by the driver (909)
  if (EbdRead(ctx).path) ClosePath(ctx);
  switch (id) {
    case KEY_BEGIN_BOARD_DESCRIPTION: {
      std::vector<std::string> words = LINE_Words(rest);
      board->line = gulLineNumber;
      if (words.empty())
        CHECK_Report(5500, "Begin Board Description");
      else
        board->name = words[0];
      break;
    }
    case KEY_EBD_MANUFACTURER:
      Once(&board->manufacturerCount, "Manufacturer", board);
      if (!rest || !*rest) CHECK_Report(5432, "Manufacturer", "board", NameOf(board));
      if (board->manufacturer.empty() && rest) board->manufacturer = rest;
      break;
    case KEY_EBD_NUMBER_OF_PINS: {
      Once(&board->numberOfPinsCount, "Number Of Pins", board);
      std::vector<std::string> words = LINE_Words(rest);
      const std::string value = words.empty() ? std::string() : words[0];
      board->numberOfPins = LINE_WholeNumber(value, 1);
      board->numberOfPinsLine = gulLineNumber;
      if (board->numberOfPins < 0 || words.size() != 1) CHECK_Report(5403, "Number Of Pins", 1, value.c_str());
      break;
    }
    case KEY_PIN_LIST:
      Once(&board->pinListCount, "Pin List", board);
      break;
    case KEY_PATH_DESCRIPTION: {
      std::vector<std::string> words = LINE_Words(rest);
      if (words.empty()) CHECK_Report(5500, kPath);
      EBD_PATH path;
      path.name = words.empty() ? std::string() : words[0];
      path.line = gulLineNumber;
      board->paths.push_back(path);
      EbdRead(ctx).path = &board->paths.back();
      break;
    }
    case KEY_REFERENCE_DESIGNATOR_MAP:
      Once(&board->mapCount, "Reference Designator Map", board);
      break;
    case KEY_END_BOARD_DESCRIPTION:
      ++board->endCount;
      break;
    default:
      break;
  }
}

// The designators of the map, each to a file beside the board that defines
// the component (an .ibs file) or board (an .ebd file) it names.
void CheckDesignators(PARSE_CONTEXT& ctx, const BOARD* board) {
  std::unordered_map<std::string, std::vector<std::string>> defined;  // per file, read once
  for (const EBD_DESIGNATOR& d : board->designators) {
    std::string path;
    const int kind = NAMED_Kind(ctx.where.dir, d.file, &path);
    if (CMN_EqualNoCase(d.file.c_str(), ctx.where.name)) {
      CHECK_ReportAt(d.line, 5518, d.designator.c_str(), d.file.c_str());
      continue;
    }
    if (kind != NAMED_FILE) {
      CHECK_ReportAt(d.line, 5517, d.designator.c_str(), d.file.c_str());
      continue;
    }
    auto names = defined.find(path);
    if (names == defined.end()) {
      const size_t dot = d.file.rfind('.');
      const bool ebd = dot != std::string::npos && CMN_EqualNoCase(d.file.c_str() + dot, ".ebd");
      names = defined.emplace(path, NAMED_Defined(path, ebd ? "Begin Board Description" : "Component")).first;
    }
    bool found = false;
    for (const std::string& n : names->second) found = found || n == d.component;
    if (!found) CHECK_ReportAt(d.line, 5519, d.designator.c_str(), d.component.c_str(), d.file.c_str());
  }
}

void CheckBoard(PARSE_CONTEXT& ctx, const BOARD* board) {
  const char* name = NameOf(board);
  const unsigned long at = board->line;
  if (!board->manufacturerCount) CHECK_ReportAt(at, 5501, name, "Manufacturer");
  if (!board->numberOfPinsCount) CHECK_ReportAt(at, 5501, name, "Number Of Pins");
  if (!board->pinListCount) CHECK_ReportAt(at, 5501, name, "Pin List");
  if (board->paths.empty()) CHECK_ReportAt(at, 5501, name, kPath);
  if (!board->endCount) CHECK_ReportAt(at, 5501, name, "End Board Description");
  if (board->numberOfPins > 0 && board->pinListCount &&
      board->numberOfPins != static_cast<long long>(board->pins.size()))
    CHECK_ReportAt(board->numberOfPinsLine, 5504, name, board->numberOfPins, static_cast<int>(board->pins.size()));
  std::unordered_set<std::string> designators;
  for (const EBD_DESIGNATOR& d : board->designators) designators.insert(LINE_Lower(d.designator));
  for (const EBD_PATH& path : board->paths) {
    if (board->pinListCount)
      for (const NAME_AT& pin : path.pins)
        if (!board->pinIndex.count(pin.name)) CHECK_ReportAt(pin.line, 5509, path.name.c_str(), pin.name.c_str());
    for (const NAME_AT& node : path.nodes) {
      const std::string designator = node.name.substr(0, node.name.find('.'));
      if (!designators.count(LINE_Lower(designator)))
        CHECK_ReportAt(node.line, 5511, node.name.c_str(), designator.c_str());
    }
  }
  CheckDesignators(ctx, board);
}

}  // namespace

void EBD_Begin(PARSE_CONTEXT& ctx) {
  BOARD* board = new BOARD();
  LIST_Append(&ctx.boards, &ctx.lastBoard, board);
  ctx.board = board;
  EbdRead(ctx) = EBD_READING{};
}

void EBD_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text) {
  BOARD* board = ctx.board;
  if (!board) return;  // a board keyword outside a board
  if (board->endCount && (kind == PARSE_LINE_DATA || id != KEY_END_BOARD_DESCRIPTION)) {
    CHECK_Report(5428, kind == PARSE_LINE_DATA ? "Data" : "Keyword", "End Board Description", "board");
    return;
  }
  if (kind == PARSE_LINE_KEYWORD) {
    KeywordLine(ctx, board, id, text);
    return;
  }
  switch (id) {
    case KEY_PIN_LIST:
      if (board->pinListCount == 1) PinListRow(board, text);
      break;
    case KEY_PATH_DESCRIPTION:
      if (EbdRead(ctx).path) PathLine(ctx, EbdRead(ctx).path, text);
      break;
    case KEY_REFERENCE_DESIGNATOR_MAP:
      if (board->mapCount == 1) DesignatorRow(board, text);
      break;
    default:
      break;
  }
}

void EBD_End(PARSE_CONTEXT& ctx) {
  BOARD* board = ctx.board;
  if (!board) return;
  EbdRead(ctx).section.open = false;
  ClosePath(ctx);
  CheckBoard(ctx, board);
  ctx.board = nullptr;
  EbdRead(ctx) = EBD_READING{};
}
