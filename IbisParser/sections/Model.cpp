#include "IbisParser/sections/Model.h"
#include "IbisParser/base/RecordList.h"

#include <cstring>
#include <vector>

#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/sections/External.h"
#include "IbisParser/sections/ModelKeywords.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

void MODEL_Begin(PARSE_CONTEXT& ctx) {
  MODEL* model = nullptr;
  if (!CMN_Alloc(&model, sizeof(MODEL))) return;
  LIST_Append(&ctx.models, &ctx.lastModel, model);
  ctx.model = model;
}

void MODEL_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text) {
  MODEL* model = ctx.model;
  if (!model) {
    MODKEY_Orphan(ctx, kind, id);  // a model keyword outside a model
    return;
  }
  if (id == KEY_EXTERNAL_MODEL || id == KEY_END_EXTERNAL_MODEL) EXT_ModelLine(ctx, model->name, kind, id, text);
  if (kind == PARSE_LINE_KEYWORD && id == KEY_MODEL && !model->name) {
    const char* rest = KEY_AfterKeyword(text);
    CMN_WORDS words{};
    if (rest && CMN_SplitWords(rest, 1, '\0', &words) && words.stored == 1) model->name = CMN_StrDup(words.words[0]);
    CMN_FreeWords(&words);
    model->line = gulLineNumber;
    MODKEY_Line(ctx, model, kind, id, text);
    return;
  }
  if (kind == PARSE_LINE_DATA && id == KEY_MODEL && !model->modelType[0]) {
    CMN_WORDS words{};
    if (CMN_SplitWords(text, 2, '\0', &words) && words.stored == 2 && CMN_EqualNoCase(words.words[0], "Model_type")) {
      std::strncpy(model->modelType, words.words[1], sizeof model->modelType - 1);
    }
    CMN_FreeWords(&words);
  }
  if (kind == PARSE_LINE_KEYWORD && id == KEY_ALGORITHMIC_MODEL) model->inAlgModBlock = 1;
  if (model->inAlgModBlock)
    MODEL_AlgorithmicModelLine(ctx, model, kind, id, text);
  else
    MODKEY_Line(ctx, model, kind, id, text);
  if (kind == PARSE_LINE_KEYWORD && id == KEY_END_ALGORITHMIC_MODEL) model->inAlgModBlock = 0;
}

void MODEL_AlgorithmicModelLine(PARSE_CONTEXT& ctx, MODEL* model, int kind, int id, const char* text) {
  if (kind == PARSE_LINE_DATA) {
    ALGMOD_AddLine(ctx, text, model->algModList);
  } else if (id == KEY_ALGORITHMIC_MODEL) {
    ALGMOD_BeginBlock(ctx, text, &model->algModList);
  } else if (id == KEY_END_ALGORITHMIC_MODEL) {
    ALGMOD_EndBlock(ctx, model->algModList);
  }
}

int MODEL_End(PARSE_CONTEXT& ctx, int nextId) {
  if (!ctx.model) return 1;
  if (KEY_SectionOf(nextId) == KEY_SECTION_MODEL && nextId != KEY_MODEL) return 0;
  MODKEY_EndModel(ctx, ctx.model);
  ctx.model->inAlgModBlock = 0;
  EXT_ModelEnd(ctx);
  ctx.model = nullptr;
  return 1;
}
