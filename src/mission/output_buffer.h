#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <streambuf>
#include <string_view>

#include "mission/output_sink.h"

namespace bosquell {

// Collects small writes into large ones, so that copying a file line by line costs about as
// much as copying it in blocks. Remembers whether any write to the sink failed.
class OutputBuffer final : public OutputSink {
 public:
  explicit OutputBuffer(std::streambuf& sink, std::size_t capacity = 256 * 1024);
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;
  ~OutputBuffer() override;  // flushes what is left; check Flush() first to see failures

  void Write(std::string_view bytes) override {
    if (bytes.size() <= capacity_ - used_ && bytes.size() < capacity_ / 4) {
      std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
      used_ += bytes.size();
    } else {
      WriteLarge(bytes);
    }
  }
  // Hands everything collected to the sink and flushes it; false once any write has failed.
  bool Flush();
  bool Failed() const override { return failed_; }

 private:
  void WriteLarge(std::string_view bytes);
  void Drain();

  std::streambuf& sink_;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;  // left uninitialised: only what is written to it is used
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace bosquell
