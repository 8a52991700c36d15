#include "files/atomic_text_file.h"

#include <streambuf>
#include <system_error>

#include "common/utf8_path.h"
#include "files/atomic_output_file.h"

namespace bosquell {

std::string WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  AtomicOutputFile file(path);
  std::error_code error;
  if (!file.Open(error))
    return "cannot create a file beside " + Utf8FromPath(path) + ": " + error.message();
  const auto size = static_cast<std::streamsize>(bytes.size());
  if (file.Buffer().sputn(bytes.data(), size) != size) {
    return "cannot write " + Utf8FromPath(path) + ": " + file.WriteError().message();
  }
  if (!file.Commit(error)) return "cannot write " + Utf8FromPath(path) + ": " + error.message();
  return {};
}

}  // namespace bosquell
