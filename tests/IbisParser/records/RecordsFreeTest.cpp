// Each record frees itself from its own unit in records/: a list with
// everything it holds (names, a component's package and its triples, a
// model's [Algorithmic Model] list and data) goes, the head reads null, and
// an empty list is no fault. The sanitizer build sees what is left behind.
#include <gtest/gtest.h>

#include "IbisParser/base/Rng.h"
#include "IbisParser/records/AlgModel.h"
#include "IbisParser/records/Component.h"
#include "IbisParser/records/Header.h"
#include "IbisParser/records/Model.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/records/ModelSelector.h"
#include "IbisParser/records/Package.h"
#include "amiparam/Cmn.h"

TEST(RecordsFree, ComponentsGoWithTheirPackages) {
  COMPONENT* list = nullptr;
  for (int i = 0; i < 3; ++i) {
    COMPONENT* c = new COMPONENT;
    c->name = CMN_StrDup("c");
    ASSERT_TRUE(CMN_Alloc(&c->package, sizeof(PKG)));
    ASSERT_TRUE(CMN_Alloc(&c->package->rPkg, sizeof(RNG)));
    c->next = list;
    list = c;
  }
  COMPREC_FreeAll(&list);
  EXPECT_EQ(list, nullptr);
  COMPREC_FreeAll(&list);
  PKG* none = nullptr;
  PKG_Free(&none);
  EXPECT_EQ(none, nullptr);
}

TEST(RecordsFree, ModelsGoWithTheirExecutablesAndData) {
  MODEL* model = nullptr;
  ASSERT_TRUE(CMN_Alloc(&model, sizeof(MODEL)));
  model->name = CMN_StrDup("m");
  model->data = new MODEL_DATA;
  ASSERT_TRUE(CMN_Alloc(&model->algModList, sizeof(ALGMODLIST)));
  ASSERT_TRUE(CMN_Alloc(&model->algModList->first, sizeof(ALGMOD)));
  MODELREC_FreeAll(&model);
  EXPECT_EQ(model, nullptr);

  MODEL_SELECTOR* selectors = new MODEL_SELECTOR;
  selectors->next = new MODEL_SELECTOR;
  SELREC_FreeAll(&selectors);
  EXPECT_EQ(selectors, nullptr);

  HDR* header = nullptr;
  ASSERT_TRUE(CMN_Alloc(&header, sizeof(HDR)));
  header->notes = CMN_StrDup("n");
  HDRREC_Free(&header);
  EXPECT_EQ(header, nullptr);
}
