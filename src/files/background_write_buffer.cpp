#include "files/background_write_buffer.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <system_error>

namespace bosquell {

BackgroundWriteBuffer::BackgroundWriteBuffer(std::streambuf& target, std::uint64_t directBytes,
                                             std::size_t blockSize, std::size_t blockCount)
    : target_(target),
      directBytes_(directBytes),
      blockSize_(std::max<std::size_t>(blockSize, 1)),
      blocks_(std::max<std::size_t>(blockCount, 2)) {
  for (std::size_t block = blocks_.size(); block-- > 1;) free_.push_back(block);
}

void BackgroundWriteBuffer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (writer_.joinable()) writer_.join();
}

std::streamsize BackgroundWriteBuffer::xsputn(const char* data, std::streamsize size) {
  if (size <= 0) return 0;
  if (static_cast<std::uint64_t>(size) <= directBytes_) {
    if (failed_ || stopping_) return 0;  // no thread has started yet
    directBytes_ -= static_cast<std::uint64_t>(size);
    try {
      if (target_.sputn(data, size) == size) return size;
    } catch (const std::exception&) {
    }
    failed_ = true;
    return 0;
  }
  directBytes_ = 0;
  std::streamsize taken = 0;
  while (taken < size) {
    {
      std::lock_guard lock(mutex_);
      if (failed_ || stopping_) return taken;
    }
    if (!blocks_[current_]) blocks_[current_] = std::make_unique_for_overwrite<char[]>(blockSize_);
    const auto piece = std::min(blockSize_ - used_, static_cast<std::size_t>(size - taken));
    std::memcpy(blocks_[current_].get() + used_, data + taken, piece);
    used_ += piece;
    taken += static_cast<std::streamsize>(piece);
    if (used_ == blockSize_) Submit();
  }
  return taken;
}

BackgroundWriteBuffer::int_type BackgroundWriteBuffer::overflow(int_type byte) {
  if (traits_type::eq_int_type(byte, traits_type::eof())) return traits_type::not_eof(byte);
  const char c = traits_type::to_char_type(byte);
  return xsputn(&c, 1) == 1 ? byte : traits_type::eof();
}

int BackgroundWriteBuffer::sync() {
  if (writer_.joinable()) {
    if (used_ > 0) Submit();
    WaitUntilWritten();
  } else if (used_ > 0) {
    // No block has filled since the direct writes ended: no thread is worth starting for it.
    if (!WriteToTarget(current_, used_)) failed_ = true;
    used_ = 0;
  }
  std::lock_guard lock(mutex_);
  if (!failed_) {
    try {
      if (target_.pubsync() != 0) failed_ = true;
    } catch (const std::exception&) {
      failed_ = true;
    }
  }
  return failed_ ? -1 : 0;
}

void BackgroundWriteBuffer::Submit() {
  if (!writer_.joinable()) {
    try {
      writer_ = std::thread([this] { WriteBlocks(); });
    } catch (const std::system_error&) {
      // No thread to be had (the system's limit is reached): write here, as without one.
      if (!WriteToTarget(current_, used_)) failed_ = true;
      used_ = 0;
      return;
    }
  }
  std::unique_lock lock(mutex_);
  filled_.push_back({current_, used_});
  used_ = 0;
  changed_.notify_all();
  // The writing thread hands every block back, also once the target has failed.
  changed_.wait(lock, [this] { return !free_.empty(); });
  current_ = free_.back();
  free_.pop_back();
}

void BackgroundWriteBuffer::WaitUntilWritten() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return filled_.empty() && !writing_; });
}

void BackgroundWriteBuffer::WriteBlocks() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !filled_.empty() || stopping_; });
    if (stopping_) return;
    const Filled next = filled_.front();
    filled_.pop_front();
    writing_ = true;
    const bool skip = failed_;
    lock.unlock();
    const bool written = skip || WriteToTarget(next.block, next.size);
    lock.lock();
    writing_ = false;
    if (!written) failed_ = true;
    free_.push_back(next.block);
    changed_.notify_all();
  }
}

bool BackgroundWriteBuffer::WriteToTarget(std::size_t block, std::size_t size) {
  try {
    const auto count = static_cast<std::streamsize>(size);
    return target_.sputn(blocks_[block].get(), count) == count;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace bosquell
