#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mission/output_buffer.h"
#include "mission/output_sink.h"
#include "run/file_range_copy.h"
#include "run/platform_files.h"

namespace bosquell {

// The run's output: long unchanged stretches of the mission go from file to file inside the
// system; everything else, and every stretch the system declines, goes through the buffer.
class FileRangeSink final : public OutputSink {
 public:
  using RangeCopy = std::ptrdiff_t (*)(const NativeFile& input, std::uint64_t inputOffset,
                                       const NativeFile& output, std::size_t size);
  // Shorter stretches cost less to write from memory than a call into the system.
  static constexpr std::size_t kShortestRangeCopy = 64 * 1024;

  // `output` is the file behind `buffer`; `rangeCopy` is replaceable for tests.
  FileRangeSink(OutputBuffer& buffer, const NativeFile& input, const NativeFile& output,
                RangeCopy rangeCopy = &CopyFileRange)
      : buffer_(buffer), input_(input), output_(output), rangeCopy_(rangeCopy) {}

  void Write(std::string_view bytes) override { buffer_.Write(bytes); }
  void CopyFromInput(std::uint64_t inputOffset, std::string_view bytes) override;
  bool Failed() const override { return buffer_.Failed(); }

 private:
  OutputBuffer& buffer_;
  const NativeFile& input_;
  const NativeFile& output_;
  RangeCopy rangeCopy_;  // null once the system has declined: it will not change its mind
};

}  // namespace bosquell
