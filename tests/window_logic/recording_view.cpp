#include "recording_view.h"

namespace bosquell::testing {

RecordingView::RecordingView() {
  // The texts the window's layout starts with.
  texts = {{Control::kText1, "0"},    {Control::kText3, "0"},
           {Control::kText4, "1024"}, {Control::kText2, "1024"},
           {Control::kText5, "20"},   {Control::kLabel1, "Please Open a File!"}};
}

std::string RecordingView::Text(Control control) const {
  const auto found = texts.find(control);
  return found == texts.end() ? std::string() : found->second;
}

void RecordingView::SetEntries(Control list, const std::vector<std::string>& shown) {
  entries[list] = shown;
  selected[list] = -1;
}

int RecordingView::SelectedIndex(Control list) const {
  const auto found = selected.find(list);
  return found == selected.end() ? -1 : found->second;
}

void RecordingView::Select(Control list, int index) {
  selected[list] = index;
  // A combo box's text field shows the selected entry.
  if (list == Control::kCombo1) {
    texts[list] = index < 0 ? std::string() : entries[list].at(static_cast<std::size_t>(index));
  }
}

void RecordingView::ShowDirectories(const std::vector<DirectoryEntry>& shown, int current) {
  directories = shown;
  currentDirectory = current;
}

void RecordingView::ShowMessage(const std::string& text) {
  messages.push_back(text);
  enabledAtMessage.push_back(enabled);
}

std::vector<std::string> RecordingView::DirectoryNames() const {
  std::vector<std::string> names;
  for (const DirectoryEntry& entry : directories) names.push_back(entry.name);
  return names;
}

}  // namespace bosquell::testing
