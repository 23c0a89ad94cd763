// Sends the diagnostics of the parser layer to a temporary file for the
// lifetime of the object, so a test can read what was printed.
#pragma once

#include <cstdio>
#include <string>

#include "amiparam/Msg.h"

class MsgCapture {
 public:
  MsgCapture() : saved_(gpMsgStream), file_(std::tmpfile()) { gpMsgStream = file_; }
  ~MsgCapture() {
    gpMsgStream = saved_;
    if (file_) std::fclose(file_);
  }
  MsgCapture(const MsgCapture&) = delete;
  MsgCapture& operator=(const MsgCapture&) = delete;

  // Everything printed so far.
  std::string Text() const {
    std::string text;
    if (!file_) return text;
    std::fflush(file_);
    std::rewind(file_);
    char chunk[512];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof(chunk), file_)) > 0) text.append(chunk, n);
    std::fseek(file_, 0, SEEK_END);
    return text;
  }

 private:
  FILE* saved_;
  FILE* file_;
};
