// AMI parameter lists nested a million deep, for the tests that make sure
// that no walk over a parameter tree recurses or copies its path at every
// level: a real parameter file nests a few levels, a hostile one any number.
#pragma once

#include <cstddef>
#include <string>

constexpr size_t kDeepNesting = 1000000;

// `depth` lists called `name`, each inside the one before, around `inner`:
// Nest(2, "(x 1)") is "(a (a (x 1)))".
inline std::string Nest(size_t depth, const std::string& inner, const std::string& name = "a") {
  std::string text;
  text.reserve(depth * (name.size() + 3) + inner.size());
  for (size_t i = 0; i < depth; ++i) text.append("(").append(name).append(" ");
  text += inner;
  text.append(depth, ')');
  return text;
}

// The dotted path through those lists: NestPath(2) is "a.a".
inline std::string NestPath(size_t depth, const std::string& name = "a") {
  std::string path;
  path.reserve(depth * (name.size() + 1));
  for (size_t i = 0; i < depth; ++i) path.append(i ? "." : "").append(name);
  return path;
}
