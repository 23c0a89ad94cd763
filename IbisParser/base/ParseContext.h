// The per-file state of the IBIS file checker: the file kinds and line
// kinds every room shares, the description a file's reading builds, and the
// reading state around it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "IbisParser/base/CmnFile.h"
#include "IbisParser/base/IbisVersion.h"

struct HDR;
struct COMPONENT;
struct MODEL;
struct MODEL_SELECTOR;
struct SUBMODEL;
struct TEST_SECTION;
struct PACKAGE_MODEL;
struct BOARD;
struct EXTERNAL;
struct INTERCONNECT_SET;

// File kinds of PARSE_CheckFile.
enum {
  PARSE_MODE_IBS = 1,
  PARSE_MODE_PKG = 2,
  PARSE_MODE_EBD = 3,
  PARSE_MODE_AMI = 4,
};

// Kinds of line handed to the section handlers.
enum {
  PARSE_LINE_KEYWORD = 1,
  PARSE_LINE_DATA = 4,
};

// The description built while one file is checked, and the per-file state of
// the driver. Reset at the start of every .ibs, .pkg or .ebd check; a nested
// check saves and restores the enclosing one.
struct PARSE_STATE {
  int mode;                                 // file kind (PARSE_MODE_*)
  CMN_PATH where;                           // directory and name of the file being checked
  int tabReportArmed;                       // 921 is printed at most once per file
  unsigned long illegalCharacters;          // illegal characters reported (1917) in this file
  int currentKeyword;                       // id of the latest recognised keyword (KEY_NOT_KEY after a failure)
  int sectionKeyword;                       // id of the keyword whose section is open (KEY_NOT_KEY: none)
  int ibisVerSeen;                          // an [IBIS Ver] keyword was met
  int endSeen;                              // the [End] keyword was met
  int inSubmodel;                           // a [Submodel] section is open
  int unterminatedRLC;                      // an R/L/C section lacks its closing "/"
  HDR* header;                              // the file header record, null until [IBIS Ver]
  int headerOpen;                           // the header section is still open
  COMPONENT* components;                    // components in file order
  COMPONENT* lastComponent;                 // the last of them, where the next one is appended
  COMPONENT* component;                     // the open component, or null
  MODEL* models;                            // models in file order
  MODEL* lastModel;                         // the last of them
  MODEL* model;                             // the open model, or null
  MODEL_SELECTOR* selectors;                // model selectors in file order
  MODEL_SELECTOR* lastSelector;             // the last of them
  MODEL_SELECTOR* selector;                 // the open selector, or null
  SUBMODEL* submodels;                      // submodels in file order (Submodel.h)
  SUBMODEL* lastSubmodel;                   // the last of them
  SUBMODEL* submodel;                       // the open submodel, or null
  std::vector<TEST_SECTION>* testSections;  // [Test Data] and [Test Load] sections (TestData.h), or null
  PACKAGE_MODEL* packageModels;             // package models in file order
  PACKAGE_MODEL* lastPackageModel;          // the last of them
  PACKAGE_MODEL* packageModel;              // the open package model, or null
  BOARD* boards;                            // board descriptions in file order (.ebd)
  BOARD* lastBoard;                         // the last of them
  BOARD* board;                             // the open board, or null
  EXTERNAL* externals;                      // [External Model] and [External Circuit] blocks in file order
  EXTERNAL* lastExternal;                   // the last of them
  EXTERNAL* external;                       // the open block, or null
  INTERCONNECT_SET* interconnects;          // interconnect model sets in file order (7.0 on)
  INTERCONNECT_SET* lastIcmSet;             // the last of them
  INTERCONNECT_SET* interconnect;           // the open set, or null
};

struct INTERCONNECT_MODEL;
struct EBD_READING;   // what a board's reading keeps between lines (sections/BoardDescription.cpp)
struct PKGM_READING;  // what a package model's reading keeps between lines (sections/PackageModel.cpp)

// Everything the check of one file reads, builds and remembers: the
// description (PARSE_STATE), the comment character, the version the file is
// checked against and what each section's reading keeps between lines. One
// is made on the stack for every file checked and passed to every handler
// and check; a file named by a file (an .ami file) is checked on its own
// context, so the enclosing file's reading is never touched.
struct PARSE_CONTEXT : PARSE_STATE {
  PARSE_CONTEXT();
  ~PARSE_CONTEXT();
  PARSE_CONTEXT(const PARSE_CONTEXT&) = delete;
  PARSE_CONTEXT& operator=(const PARSE_CONTEXT&) = delete;

  char gcCommentChar = '|';  // comment character of the file ('|' unless [Comment Char] says otherwise)
  // IBIS version number (1 to 7, the first digit of [IBIS Ver]), set by the
  // file header; it chooses the line limit and the [File Name] length.
  int ibisVersion = 0;
  // Release code (IBIS_RELEASE_*, IbisVersion.h) of the rule set the file is
  // checked against; it chooses the keyword set and the version-dependent rules.
  int ibisRelease = 0;

  // Header: switches for tests (a 1.x version read as 1, any version read
  // as 5.0, no [File Name] checks).
  int hdrAllowVersion1 = 0;
  int hdrForceVersion5 = 0;
  int hdrSkipFileNameChecks = 0;

  std::unordered_map<std::string, unsigned long> pinsSeen;  // [Pin] names of the open component, with their lines

  std::shared_ptr<PKGM_READING> pkgmReading;  // the open package model's reading, made when first needed
  // How often [Manufacturer], [OEM], [Description], [Number Of Pins] and
  // [Number Of Sections] stood in the open package model.
  int pkgmManufacturer = 0, pkgmOem = 0, pkgmDescription = 0, pkgmNumberOfPins = 0, pkgmNumberOfSections = 0;
  std::shared_ptr<EBD_READING> ebdReading;  // the open board's reading, made when first needed
  INTERCONNECT_MODEL* icmModel = nullptr;   // the open [Interconnect Model] of the open set, or null

  // The .ami text collected by the .ami reading (null when empty), its
  // length and the room allocated for it.
  char* gpszAmiText = nullptr;
  unsigned long amiLength = 0;
  unsigned long amiCapacity = 0;
  int amiBaseRelease =
      IBIS_RELEASE_50;  // release an .ami file is checked for (IBIS_RELEASE_50 unless its IBIS file is later)
  int amiRelease = IBIS_RELEASE_50;  // release the .ami tree is checked for: its AMI_Version, or amiBaseRelease
  int amiStandalone = 0;             // the .ami file is checked on its own, not named by an IBIS file
  long algmodLine = 0;               // line of the open [Algorithmic Model] block
};

// Report setting of the process: quiet suppresses the "Checking" line.
extern int gbParseQuiet;
