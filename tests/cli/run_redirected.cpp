#include "run_redirected.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "common/utf8_path.h"
#else
#include <sys/wait.h>

#include <cstdlib>
#endif

namespace bosquell::test {
namespace {

#ifdef _WIN32

// Quotes one argument so that the C runtime's command-line parsing gives it back unchanged:
// backslashes double only where a quote follows them.
std::wstring QuotedArgument(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L'"';
}

// A file handle the started program inherits; closed when it goes out of scope.
class InheritedFile {
 public:
  InheritedFile(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    handle_ = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                          disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~InheritedFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  InheritedFile(const InheritedFile&) = delete;
  InheritedFile& operator=(const InheritedFile&) = delete;

  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

#else

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

#endif

}  // namespace

#ifdef _WIN32

// The command line goes to the program as UTF-16: a narrow one would pass through the ANSI code
// page and lose every name outside it.
int RunRedirected(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path& out, const std::filesystem::path& err) {
  std::wstring commandLine = QuotedArgument(program.wstring());
  for (const std::string& argument : arguments) {
    commandLine += L' ' + QuotedArgument(PathFromUtf8(argument).wstring());
  }
  const InheritedFile input(L"NUL", GENERIC_READ, OPEN_EXISTING);
  const InheritedFile output(out, GENERIC_WRITE, CREATE_ALWAYS);
  const InheritedFile errors(err, GENERIC_WRITE, CREATE_ALWAYS);
  if (output.Get() == INVALID_HANDLE_VALUE || errors.Get() == INVALID_HANDLE_VALUE) return -1;

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.Get();
  startup.hStdOutput = output.Get();
  startup.hStdError = errors.Get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  const bool exited = GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exited ? static_cast<int>(exitCode) : -1;
}

#else

int RunRedirected(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path& out, const std::filesystem::path& err) {
  std::string command = Quoted(program.string());
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  command += " > " + Quoted(out.string()) + " 2> " + Quoted(err.string());
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

}  // namespace bosquell::test
