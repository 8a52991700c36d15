#include "common/file_error.h"

#include <string>

namespace bosquell {
namespace {

class FileErrorCategoryImpl final : public std::error_category {
 public:
  const char* name() const noexcept override { return "bosquell file"; }
  std::string message(int value) const override {
    switch (static_cast<FileError>(value)) {
      case FileError::kDirectory:
        return "it is a folder, not a file";
      case FileError::kNotRegularFile:
        return "it is not a regular file but a device, a pipe or a socket";
      case FileError::kReadOnly:
        return "the file is read-only";
      case FileError::kOpenInAnotherProgram:
        return "another program has the file open; close it there and try again";
      case FileError::kNoTemporaryName:
        return "no free name for a temporary file was found beside it";
    }
    return "unknown file error";
  }
};

}  // namespace

const std::error_category& FileErrorCategory() {
  static const FileErrorCategoryImpl category;
  return category;
}

std::error_code make_error_code(FileError error) {
  return {static_cast<int>(error), FileErrorCategory()};
}

}  // namespace bosquell
