#pragma once

#include <string>
#include <string_view>

#include "mission/output_sink.h"

namespace bosquell::testing {

// Keeps everything written, to compare whole outputs.
class StringSink final : public OutputSink {
 public:
  void Write(std::string_view bytes) override { text += bytes; }
  bool Failed() const override { return false; }

  std::string text;
};

}  // namespace bosquell::testing
