#include "window_logic/window_logic.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "common/file_names.h"
#include "common/utf8_path.h"
#include "form/form1_layout.h"
#include "mission/output_path.h"
#include "placement/tree_themes.h"
#include "run/add_objects_run.h"
#include "run/run_messages.h"
#include "window_logic/folder_listing.h"
#include "window_logic/window_paths.h"
#include "window_logic/window_texts.h"

namespace bosquell {
namespace {

namespace fs = std::filesystem;

// The index of `name` among `names`, -1 when it is not there.
int IndexOf(const std::vector<std::string>& names, const std::string& name) {
  const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& entry) {
    return SameFileName(entry, name);
  });
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

bool IsReadableFile(const fs::path& file) {
  std::error_code error;
  return fs::is_regular_file(file, error) && std::ifstream(file, std::ios::binary).is_open();
}

}  // namespace

WindowLogic::WindowLogic(WindowView& view, DriveSource& drives, RandomSource& random)
    : view_(view), drives_(drives), random_(random) {}

void WindowLogic::Load() {
  LoadThemeList();
  LoadFileLists();
}

void WindowLogic::LoadThemeList() {
  std::vector<std::string> themes;
  for (std::string_view name : ThemeListOrder()) themes.emplace_back(name);
  view_.SetEntries(Control::kTheme, themes);
  ShowThemePrompt();
}

void WindowLogic::LoadFileLists() {
  driveRoots_ = drives_.Drives();
  view_.SetEntries(Control::kDriveList, driveRoots_);
  const std::string start = NativeDirectory(drives_.CurrentDirectory());
  SelectDriveOf(start);
  ShowDirectory(start);
}

void WindowLogic::OpenNamedFile(std::string_view path) {
  fs::path file = PathFromUtf8(path);
  if (file.is_relative()) file = PathFromUtf8(drives_.CurrentDirectory()) / file;
  file = file.lexically_normal();
  const std::string name = Utf8FromPath(file.filename());
  if (IsMissionFileName(name) && IsReadableFile(file)) {
    const std::string directory = NativeDirectory(Utf8FromPath(file.parent_path()));
    // Opened as if chosen in the lists, so only a file the list shows.
    const std::vector<std::string> files = ListMissionFiles(directory);
    const int index = IndexOf(files, name);
    if (index >= 0) {
      SelectDriveOf(directory);
      ShowDirectory(directory);
      view_.Select(Control::kFileList, index);
      OpenMission();
      return;
    }
  }
  ShowMessage("The file " + std::string(path) +
              " cannot be opened: it is no mission file that can be read.\r\n"
              "Please choose a mission file in the lists.");
}

void WindowLogic::DriveChanged() {
  const int index = view_.SelectedIndex(Control::kDriveList);
  if (index < 0 || index >= static_cast<int>(driveRoots_.size())) return;
  const std::string drive = driveRoots_[static_cast<std::size_t>(index)];
  if (!drives_.IsReadable(drive)) {
    ShowMessage("The drive " + drive +
                " cannot be read.\r\nCheck that it is ready, or choose another.");
    // Back to the drive the directory list is still on.
    SelectDriveOf(directory_);
    return;
  }
  ShowDirectory(StartingDirectoryOn(index));
}

std::string WindowLogic::StartingDirectoryOn(int drive) {
  const std::string& root = driveRoots_[static_cast<std::size_t>(drive)];
  const std::string kept = drives_.CurrentDirectoryOn(root);
  if (kept.empty()) return root;
  // A folder that has gone since, or one that is not on this drive after all, leaves the root.
  const std::string folder = NativeDirectory(kept);
  std::error_code error;
  const bool usable =
      DriveOfPath(driveRoots_, folder) == drive && fs::is_directory(PathFromUtf8(folder), error);
  return usable ? folder : root;
}

void WindowLogic::DirectoryOpened(int index) {
  if (index < 0 || index >= static_cast<int>(directoryEntries_.size())) return;
  ShowDirectory(directoryEntries_[static_cast<std::size_t>(index)].path);
}

void WindowLogic::OpenMission() {
  const std::string name = SelectedFile();
  // With no name selected there is nothing to open; recording the directory as the mission
  // would only lead a run to a wrong output name.
  if (name.empty()) return;
  missionPath_ = JoinMissionPath(directory_, name);
  outputPath_ = OutputPathFor(missionPath_);
  view_.SetText(Control::kStatus, kStatusFileOpen);
  if (map_ != nullptr) map_->MissionChanged(missionPath_);
}

void WindowLogic::ThemePicked() {
  const int index = view_.SelectedIndex(Control::kTheme);
  // Emptying a filled own id is a change of it, which puts the theme box back to its prompt;
  // the pick is restored afterwards. Emptying an empty box changes nothing.
  if (!view_.Text(Control::kOwnId).empty()) {
    view_.SetText(Control::kOwnId, "");
    OwnIdChanged();
  }
  view_.Select(Control::kTheme, index);
  InputEdited();
}

void WindowLogic::OwnIdChanged() {
  if (!idWarningShown_) ShowMessage(kOwnIdWarning);
  idWarningShown_ = true;
  ShowThemePrompt();
  InputEdited();
}

RunInputs BoxInputs(const WindowView& view) {
  RunInputs inputs;
  inputs.themeText = view.Text(Control::kTheme);
  inputs.ownIdText = view.Text(Control::kOwnId);
  inputs.centerXText = view.Text(Control::kCenterX);
  inputs.rangeYText = view.Text(Control::kRangeY);
  inputs.centerYText = view.Text(Control::kCenterY);
  inputs.rangeXText = view.Text(Control::kRangeX);
  inputs.countText = view.Text(Control::kCount);
  return inputs;
}

void WindowLogic::InputEdited() {
  if (map_ != nullptr) map_->InputsChanged();
}

void WindowLogic::AddObjects() {
  // With the map open a run writes only what the map shows: a mission written since the map
  // read it is shown anew, and this press writes nothing.
  if (map_ != nullptr && map_->RereadIfMissionChanged()) {
    ShowMessage(MissionChangedText(missionPath_));
    return;
  }
  RunInputs inputs = BoxInputs(view_);
  if (map_ != nullptr) {
    inputs.keepClearText = map_->KeepClearText();
    inputs.spacingText = map_->SpacingText();
    inputs.recipe = map_->RunRecipe();
  }
  inputs.missionPath = missionPath_;
  inputs.outputPath = outputPath_;
  const std::string selected = SelectedFile();
  // With the map open the run writes the objects it shows: it starts from their seed.
  const std::optional<std::uint32_t> seed = map_ != nullptr ? map_->RunSeed() : std::nullopt;
  std::optional<MersenneRandom> seeded;
  if (seed) seeded.emplace(*seed);
  std::vector<DrawnObject> appended;
  const bool written = RunAddObjects(inputs, seeded ? *seeded : random_, appended);
  if (map_ != nullptr) {
    // A written run forgot the mission; one that did not keeps it, and the map its picture.
    if (missionPath_ != inputs.missionPath) map_->MissionChanged(missionPath_);
    map_->RunEnded(appended);
  }
  if (!written) return;
  // Show the new file among the missions, with the file that was opened still selected, so
  // that "Open" opens it again for another round.
  ShowFiles();
  if (!selected.empty()) SelectFile(selected);
}

bool WindowLogic::RunAddObjects(const RunInputs& inputs, RandomSource& random,
                                std::vector<DrawnObject>& appended) {
  random.StartRun();
  view_.SetWindowEnabled(false);
  AddObjectsResult result;
  // Whatever goes wrong unexpectedly ends the run like any failure: a message, and the window
  // usable again.
  try {
    auto checked = CheckRunInputs(inputs);
    if (const std::string* message = std::get_if<std::string>(&checked)) {
      view_.ShowMessage(*message);
      view_.SetWindowEnabled(true);
      return false;
    }
    AddObjectsRequest& request = std::get<AddObjectsRequest>(checked);
    if (map_ != nullptr) request.expected = map_->Expected();
    result = bosquell::AddObjects(request, random);
  } catch (const std::exception& failure) {
    result = FailedRun(failure);
  }
  const std::string message = JoinLines(RunMessageLines(result, inputs.outputPath), "\r\n");
  if (result.status != AddObjectsResult::Status::kWritten) {
    // The map shows the mission as it is now before the user reads why nothing was written.
    if (result.status == AddObjectsResult::Status::kMissionChanged && map_ != nullptr) {
      map_->RereadIfMissionChanged();
    }
    view_.ShowMessage(message);
    view_.SetWindowEnabled(true);
    return false;
  }
  view_.SetWindowEnabled(true);
  appended = std::move(result.objects);
  // A new file must be opened before the next run.
  missionPath_.clear();
  view_.ShowMessage(message);
  view_.SetText(Control::kStatus, kStatusSaved);
  return true;
}

void WindowLogic::About() {
  ShowMessage(AboutText());
}

void WindowLogic::Exit() {
  view_.EndProgram();
}

void WindowLogic::ShowMessage(const std::string& text) {
  view_.ShowMessage(text);
}

void WindowLogic::ShowDirectory(const std::string& directory) {
  const std::string native = NativeDirectory(directory);
  if (native == directory_) return;
  directory_ = native;
  DirectoryListing listing = ListDirectory(directory_);
  directoryEntries_ = std::move(listing.entries);
  view_.ShowDirectories(directoryEntries_, listing.current);
  // The file list follows the directory list.
  ShowFiles();
}

void WindowLogic::ShowFiles() {
  files_ = ListMissionFiles(directory_);
  view_.SetEntries(Control::kFileList, files_);
}

void WindowLogic::SelectDriveOf(const std::string& path) {
  const int index = DriveOfPath(driveRoots_, path);
  if (index >= 0) view_.Select(Control::kDriveList, index);
}

void WindowLogic::SelectFile(const std::string& name) {
  const auto found = std::find(files_.begin(), files_.end(), name);
  if (found != files_.end())
    view_.Select(Control::kFileList, static_cast<int>(found - files_.begin()));
}

std::string WindowLogic::SelectedFile() const {
  const int index = view_.SelectedIndex(Control::kFileList);
  if (index < 0 || index >= static_cast<int>(files_.size())) return {};
  return files_[static_cast<std::size_t>(index)];
}

void WindowLogic::ShowThemePrompt() {
  // With no entry selected, a later pick of any entry, the last one included, shows it again.
  view_.Select(Control::kTheme, -1);
  view_.SetText(Control::kTheme, std::string(kThemePrompt));
}

}  // namespace bosquell
