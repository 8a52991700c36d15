#include "run/keep_clear_gathering.h"

#include <utility>

namespace bosquell {

KeepClearGathering::KeepClearGathering(const KeepClearReach& reach)
    : points_(reach.area, reach.distance), scanner_([this](MapPoint at) { points_.Add(at); }) {}

void KeepClearGathering::Take(std::string_view bytes) {
  background_->sputn(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

SortedPointGrid KeepClearGathering::Finish() && {
  background_->pubsync();
  background_.reset();
  if (sink_.failure) std::rethrow_exception(sink_.failure);
  scanner_.Finish();
  return std::move(points_).Build();
}

std::streamsize KeepClearGathering::ScanSink::xsputn(const char* data, std::streamsize size) {
  if (failure) return 0;
  try {
    scanner_.Feed(std::string_view(data, static_cast<std::size_t>(size)));
    return size;
  } catch (...) {
    failure = std::current_exception();
    return 0;
  }
}

KeepClearGathering::ScanSink::int_type KeepClearGathering::ScanSink::overflow(int_type byte) {
  if (traits_type::eq_int_type(byte, traits_type::eof())) return traits_type::not_eof(byte);
  const char c = traits_type::to_char_type(byte);
  return xsputn(&c, 1) == 1 ? byte : traits_type::eof();
}

}  // namespace bosquell
