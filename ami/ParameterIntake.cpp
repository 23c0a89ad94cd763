#include "ami/ParameterIntake.h"

#include "amiparam/AmiParameters.h"
#include "model/tessalune_tx.h"

#include <sstream>

const char* const kEmphasisPath = "tessalune_tx.emphasis";
const char* const kVregPath = "tessalune_tx.Vreg";
const char* const kCornerPath = "tessalune_tx.corner";

void ReadModelParameters(const AmiParameters& parameters, tessalune_tx& model) {
  struct Item {
    double* member;
    const char* path;
    const char* sentence;
  };
  const Item items[] = {
      {&model.emphasis, kEmphasisPath,
       "The IBIS-AMI model, tessalune_tx, is unable to initialize the parameter emphasis from the "
       "AMI_Init arguments.  The model will use the default setting. "},
      {&model.Vreg, kVregPath,
       "The IBIS-AMI model, tessalune_tx, is unable to initialize the parameter Vreg from the "
       "AMI_Init arguments.  The model will use the default setting. "},
      {&model.corner, kCornerPath,
       "The IBIS-AMI model, tessalune_tx, is unable to initialize the parameter corner from the "
       "AMI_Init arguments.  The model will use the default setting. "},
  };
  for (const Item& item : items) {
    if (!parameters.GetDouble(*item.member, item.path)) model.MessageText += item.sentence;
  }
}

bool CheckResponseSelection(tessalune_tx& model) {
  const struct {
    const char* name;
    double value;
  } items[] = {{"Vreg", model.Vreg}, {"corner", model.corner}};
  bool ok = true;
  for (const auto& item : items) {
    if (tessalune_tx::SelectionIndex(item.value) >= 0) continue;
    std::ostringstream sentence;
    sentence << "The IBIS-AMI model, tessalune_tx, has no response for the parameter " << item.name << " value "
             << item.value << ".  The allowed values are 0, 1 and 2 (the model rounds " << item.name
             << " to the nearest integer). ";
    model.MessageText += sentence.str();
    ok = false;
  }
  return ok;
}
