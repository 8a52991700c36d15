#include "mission/input_file.h"

#include <cerrno>
#include <fstream>

#include "mission/mapped_file_window.h"

namespace bosquell {
namespace {

// A stream window that owns its file.
class FileStreamWindow final : public InputWindow {
 public:
  explicit FileStreamWindow(const std::filesystem::path& path)
      : file_(path, std::ios::binary), window_(*file_.rdbuf()) {}
  bool IsOpen() const { return file_.is_open(); }
  std::string_view From(std::uint64_t offset) override { return window_.From(offset); }
  bool Failed() const override { return window_.Failed(); }

 private:
  std::ifstream file_;
  StreamWindow window_;
};

}  // namespace

std::unique_ptr<InputWindow> OpenInputFile(const std::filesystem::path& path) {
  if (auto mapped = MappedFileWindow::Open(path)) return mapped;
  errno = 0;
  auto stream = std::make_unique<FileStreamWindow>(path);
  if (!stream->IsOpen()) return nullptr;
  return stream;
}

}  // namespace bosquell
