// The files of a new model project, embedded at build time from
// kit/templates/ (kit/EmbedTemplates.cmake): `common/...` for every model,
// `tx/...` or `rx/...` for one direction. Placeholders such as @NAME@ are
// filled in by `tessalune new-model`.
#pragma once

#include <cstddef>

struct NewModelTemplate {
  const char* path;  // under kit/templates/, e.g. "tx/src/Network.cpp"
  const char* text;
};

extern const NewModelTemplate kNewModelTemplates[];
extern const size_t kNewModelTemplateCount;
