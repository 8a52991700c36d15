#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "form/form_inputs.h"
#include "placement/random_source.h"
#include "window_logic/drive_source.h"
#include "window_logic/map_companion.h"
#include "window_logic/window_view.h"

namespace bosquell {

// A run's inputs as the main window's boxes hold them now: the theme, the own id and the five
// number boxes. The distances and the paths are left for the caller.
RunInputs BoxInputs(const WindowView& view);

// The reactions and the state of the main window, free of any toolkit: a window forwards its
// controls' events here and shows what it is told through its WindowView. Paths are UTF-8.
class WindowLogic {
 public:
  WindowLogic(WindowView& view, DriveSource& drives, RandomSource& random);

  // Form1 load: fills the theme list and puts the drive, directory and file lists on the
  // process's current directory. The same as LoadThemeList() then LoadFileLists(), the halves
  // a window can take apart to show itself before it reads the disk.
  void Load();
  // The theme list and its prompt: built in, no disk access.
  void LoadThemeList();
  // The drive, directory and file lists, on the process's current directory.
  void LoadFileLists();
  // A mission file named when the program was started: opened as if chosen in the lists (its
  // drive, directory and file selected, then opened). A name that is no readable ".mis" file
  // is reported, and the lists stay where they are.
  void OpenNamedFile(std::string_view path);

  // The drive list: the user chose another drive. The lists move to the current directory the
  // system keeps for that drive, or to its root when there is none.
  void DriveChanged();
  // The folder list: the user opened entry `index` (double-click or Enter).
  void DirectoryOpened(int index);
  // The file list's double-click or Enter, and "Open": opens the selected mission file.
  void OpenMission();
  // The theme box: the user chose an entry of its list.
  void ThemePicked();
  // The own-id box: the user changed the own object id.
  void OwnIdChanged();
  // The center, range and count boxes or the theme box's text field: the user changed the
  // text. Only the map window, when there is one, follows these.
  void InputEdited();
  // The map window that follows the inputs and gives a run its seed and rules; none at first.
  void SetMap(MapCompanion* map) { map_ = map; }
  // "Add Objects": the run, with the map's seed, rules and objects while the map is open.
  void AddObjects();
  // "&About" and "&Exit".
  void About();
  void Exit();

  // The opened mission file ("" when none is open) and the file the next run writes.
  const std::string& MissionPath() const { return missionPath_; }
  const std::string& OutputPath() const { return outputPath_; }
  bool IdWarningShown() const { return idWarningShown_; }
  // The directory the directory and file lists show.
  const std::string& Directory() const { return directory_; }

 private:
  void ShowMessage(const std::string& text);
  // One Add Objects run on these inputs, with the window disabled while it checks and writes;
  // true when the output has been written (and the mission forgotten), with the objects it
  // appended in `appended`.
  bool RunAddObjects(const RunInputs& inputs, RandomSource& random,
                     std::vector<DrawnObject>& appended);

  // Where the lists go when a drive is chosen: the drive's own current directory, else its root.
  std::string StartingDirectoryOn(int drive);
  void ShowDirectory(const std::string& directory);
  void ShowFiles();
  void SelectDriveOf(const std::string& path);
  void SelectFile(const std::string& name);
  std::string SelectedFile() const;
  void ShowThemePrompt();

  WindowView& view_;
  DriveSource& drives_;
  RandomSource& random_;
  MapCompanion* map_ = nullptr;

  std::string missionPath_;
  std::string outputPath_;
  bool idWarningShown_ = false;

  // What the lists show, so that an index from the view names an entry.
  std::vector<std::string> driveRoots_;
  std::string directory_;
  std::vector<DirectoryEntry> directoryEntries_;
  std::vector<std::string> files_;
};

}  // namespace bosquell
