#include "files/atomic_output_file.h"

#include "files/temporary_names.h"

namespace bosquell {

AtomicOutputFile::AtomicOutputFile(std::filesystem::path target, const PublishCalls& calls)
    : target_(std::move(target)), calls_(calls) {}

AtomicOutputFile::~AtomicOutputFile() {
  buffer_.Stop();  // no write may reach the temporary file once it is discarded
  if (!committed_) DiscardTemporary(temporary_);
}

bool AtomicOutputFile::Open(std::error_code& error) {
  ExistingOutput existing;
  if (!InspectOutput(target_, existing, error)) return false;
  RemoveStaleTemporaries(target_);
  if (!CreateTemporary(target_, existing, temporary_, error)) return false;
  file_.Attach(temporary_.file);
  return true;
}

bool AtomicOutputFile::Commit(std::error_code& error) {
  if (!temporary_.file.IsOpen()) {
    error = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  if (buffer_.pubsync() != 0 || WriteError()) {
    error = WriteError() ? WriteError() : std::make_error_code(std::errc::io_error);
    return false;
  }
  if (!PublishTemporary(temporary_, target_, calls_, error)) return false;
  committed_ = true;
  return true;
}

}  // namespace bosquell
