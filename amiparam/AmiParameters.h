// Typed access to the parameters of an AMI parameter string by dotted path:
// "tessalune_tx.emphasis" is the leaf `emphasis` directly under the root
// branch `tessalune_tx`. The string is parsed once, on construction.
#pragma once

#include <cstdint>

#include "amiparam/AmiTree.h"

class AmiParameters {
 public:
  // Parses `text`; a null text or any parse failure leaves the object
  // invalid, and every reader then returns false.
  explicit AmiParameters(const char* text);
  ~AmiParameters();
  AmiParameters(const AmiParameters&) = delete;
  AmiParameters& operator=(const AmiParameters&) = delete;

  // The leaf at `path`, or null. Only leaves match; the first match in
  // depth-first text order wins.
  AMILEAF* Find(const char* path) const;

  // Readers of the leaf's first value. Each returns false and leaves `value`
  // unchanged when the path is not found, the leaf has no value, or the
  // first value is of a kind the reader does not accept.
  bool GetDouble(double& value, const char* path) const;  // integer or floating-point
  bool GetInt(int32_t& value, const char* path) const;    // same, truncated toward zero;
                                                          // outside 32 bits: INT32_MIN
  bool GetString(char*& value, const char* path) const;   // string; the old text is
                                                          // delete[]d, the new one is new[]
  bool GetBool(bool& value, const char* path) const;      // "True" / "False"

  // Searches the subtree of `branch`, whose parent's full name is `prefix`,
  // for the leaf whose full name is `path`.
  static AMILEAF* FindLeaf(const AMIBRANCH* branch, const char* path, const char* prefix);

  bool valid = false;       // the parse returned AMITREE_OK
  AMITREE* tree = nullptr;  // the parse tree; null when the parse failed

 private:
  // First value of the leaf at `path` if its kind is `kind` or `otherKind`.
  const AMIVALUE* FirstValue(const char* path, int32_t kind, int32_t otherKind) const;
};
