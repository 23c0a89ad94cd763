#include "IbisParser/Component.h"

#include "IbisParser/KeywordTables.h"
#include "IbisParser/Parse.h"
#include "IbisParser/Pkg.h"
#include "amiparam/Cmn.h"

void COMP_Begin() {
  COMPONENT* component = nullptr;
  if (!CMN_Alloc(&component, sizeof(COMPONENT))) return;
  PARSE_AppendToList(&gParse.components, &gParse.lastComponent, component);
  gParse.component = component;
}

void COMP_Line(int kind, int id, const char* text) {
  COMPONENT* component = gParse.component;
  if (!component) return;  // a component keyword outside a component
  if (kind == PARSE_LINE_KEYWORD) {
    if (id == KEY_COMPONENT && !component->name) {
      const char* name = PARSE_AfterKeyword(text);
      if (name && *name) component->name = CMN_StrDup(name);
    } else if (id == KEY_PACKAGE && !component->package) {
      PKG_Create(&component->package);
    }
    return;
  }
  if (id == KEY_PACKAGE && component->package) PKG_ReadLine(component->package, text);
}

int COMP_End(int nextId) {
  COMPONENT* component = gParse.component;
  if (!component) return 1;
  if (KEY_SectionOf(nextId) == KEY_SECTION_COMPONENT && nextId != KEY_COMPONENT) return 0;
  if (component->package) PKG_CheckComplete(component->package, component->name);
  gParse.component = nullptr;
  return 1;
}

void COMP_FreeAll(COMPONENT** ppList) {
  while (ppList && *ppList) {
    COMPONENT* next = (*ppList)->next;
    if ((*ppList)->name) CMN_Free(&(*ppList)->name);
    PKG_Free(&(*ppList)->package);
    CMN_Free(ppList);
    *ppList = next;
  }
}
