#include "cli/console_text.h"

namespace bosquell {

std::string ConsoleText(std::string_view message) {
  std::string text;
  text.reserve(message.size());
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
      text += '\n';
      ++i;
    } else {
      text += message[i];
    }
  }
  return text;
}

}  // namespace bosquell
