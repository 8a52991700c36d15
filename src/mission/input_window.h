#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <streambuf>
#include <string_view>
#include <utility>

namespace bosquell {

// The copy pass's view of its input: a window that moves forward through the bytes, so that
// the pass never needs more of the input at once than the window holds.
class InputWindow {
 public:
  virtual ~InputWindow() = default;
  // The input's bytes from `offset` on, as many as the window holds; they stay valid until the
  // next call. `offset` never lies before the start of the previous view, and the view reaches
  // further than the previous one unless the input has ended.
  virtual std::string_view From(std::uint64_t offset) = 0;
  // True once a read has failed (as opposed to reaching the end of the input).
  virtual bool Failed() const = 0;
};

// A window onto a stream, read `chunkSize` bytes at a time into a buffer of its own.
class StreamWindow final : public InputWindow {
 public:
  explicit StreamWindow(std::streambuf& source, std::size_t chunkSize = 256 * 1024);
  std::string_view From(std::uint64_t offset) override;
  bool Failed() const override { return failed_; }

 private:
  std::streambuf& source_;
  std::size_t chunkSize_;
  std::unique_ptr<char[]> buffer_;  // left uninitialised: only what is read into it is used
  std::size_t capacity_ = 0;
  std::uint64_t bufferOffset_ = 0;  // position in the input of buffer_[0]
  std::size_t end_ = 0;             // bytes held
  bool failed_ = false;
};

// A window onto another that hands each of its bytes, once and in order, to `seen` when it first
// shows them: for a pass over the input that lets another reader take the same bytes, so that
// the input is read once for both.
class ObservedWindow final : public InputWindow {
 public:
  ObservedWindow(InputWindow& window, std::function<void(std::string_view)> seen)
      : window_(window), seen_(std::move(seen)) {}
  std::string_view From(std::uint64_t offset) override;
  bool Failed() const override { return window_.Failed(); }

 private:
  InputWindow& window_;
  std::function<void(std::string_view)> seen_;
  std::uint64_t seenTo_ = 0;  // the bytes before this offset have been handed on
};

}  // namespace bosquell
