// The per-file state of the IBIS file checker: the file kinds and line
// kinds every room shares, the description a file's reading builds, and the
// reading state around it.
#pragma once

#include <cstdint>
#include <vector>

#include "IbisParser/base/CmnFile.h"

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

extern PARSE_STATE gParse;

// Comment character of the file being read ('|' unless [Comment Char] says otherwise).
extern char gcCommentChar;

// IBIS version number (1 to 7, the first digit of [IBIS Ver]) of the file
// being checked, set by the file header; 0 before any file. It chooses the
// line limit and the [File Name] length.
extern int giIbisVersion;

// Release code (IBIS_RELEASE_*, IbisVersion.h) of the rule set the file is
// checked against: 21, 32, 42, 50, 51, 60, 61, 70, 71 or 72. Set with
// giIbisVersion; it chooses the keyword set and the version-dependent rules.
extern int giIbisRelease;

// Report settings: quiet suppresses the "Checking" line.
extern int gbParseQuiet;

// Everything a file's reading changes: the per-file state above, the comment
// character, the IBIS version and the number of the line just read
// (gulLineNumber). A check started inside another one (a package or board
// file, an .ami file) takes it with PARSE_SaveReading before it starts and
// gives it back with PARSE_RestoreReading when it ends, as one unit, so the
// enclosing file reads on as if nothing had happened. State that a file's
// reading changes belongs here.
struct PARSE_READING {
  PARSE_STATE file;
  char commentChar;
  int ibisVersion;
  int ibisRelease;
  unsigned long lineNumber;
};

PARSE_READING PARSE_SaveReading();
void PARSE_RestoreReading(const PARSE_READING& reading);

// Appends `item` to the singly linked list at *head (records with a `next`)
// whose last record is *last, in constant time however long the list is.
template <typename T>
void LIST_Append(T** head, T** last, T* item) {
  item->next = nullptr;
  if (*last)
    (*last)->next = item;
  else
    *head = item;
  *last = item;
}

// Deletes every record of the singly linked list at *head (records made
// with new); nulls *head.
template <typename T>
void LIST_DeleteAll(T** head) {
  while (head && *head) {
    T* next = (*head)->next;
    delete *head;
    *head = next;
  }
}
