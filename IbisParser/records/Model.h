// A model as read: its name, type, lines and data.
#pragma once

struct ALGMODLIST;
struct MODEL_DATA;

struct MODEL {
  MODEL* next;
  char* name;              // first word after [Model], null when there is none
  char modelType[41];      // value of Model_type as written, empty until given
  unsigned long line;      // line of [Model]
  ALGMODLIST* algModList;  // executables of the [Algorithmic Model] block, null without one
  int inAlgModBlock;       // between [Algorithmic Model] and [End Algorithmic Model]
  MODEL_DATA* data;        // what the model's other keywords give (ModelData.h), null before its first line
};

// Releases a list of models with everything they hold; nulls *ppList.
void MODELREC_FreeAll(MODEL** ppList);
