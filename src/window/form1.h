#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "form/form1_layout.h"
#include "placement/random_source.h"
#include "window/message_box.h"
#include "window_logic/drive_source.h"
#include "window_logic/preview_seeds.h"
#include "window_logic/window_logic.h"
#include "window_logic/window_view.h"

namespace bosquell {

class MapLogic;
class MapWindow;

// The program's one window, as Qt shows it: choosing the mission file, the placement options,
// the tree theme or an own object id, and the "Add Objects" button. The reactions live in
// WindowLogic; the window forwards its controls' events there and shows what it is told.
// Every control carries its name in the layout table as objectName.
class Form1 : public QMainWindow, public WindowView {
  Q_OBJECT

 public:
  // `presenter` shows every message box; `random` feeds the runs (a clock-seeded generator
  // when none is given); `drives` lists the drives (the machine's when none is given);
  // `mapSeeds` seeds the map's previews (ClockPreviewSeed when none is given).
  explicit Form1(MessagePresenter presenter = ShowMessageBox,
                 std::unique_ptr<RandomSource> random = nullptr,
                 std::unique_ptr<DriveSource> drives = nullptr, PreviewSeeds mapSeeds = nullptr,
                 QWidget* parent = nullptr);
  ~Form1() override;

  // Opens a mission file named when the program was started, as if chosen in the lists; when
  // the lists are still to be filled, right after they are.
  void openNamedFile(const QString& path);
  // The drive, directory and file lists are filled right after the window's first frame, so
  // that the window is on screen before the disk is read; true from then on.
  bool listsFilled() const { return listsFilled_; }

  // The opened mission file ("" when none is open) and the file the next run writes.
  QString missionPath() const { return QString::fromStdString(logic_.MissionPath()); }
  QString outputPath() const { return QString::fromStdString(logic_.OutputPath()); }
  bool idWarningShown() const { return logic_.IdWarningShown(); }

  // The map ("&View" > "&Map", F2) and its window, which is nullptr until the map first opens.
  MapLogic& mapLogic() { return *mapLogic_; }
  QWidget* mapWindow() const;
  MapWindow& mapView() { return *mapWindow_; }
  // The map's previews drawn on a thread of their own, handed back by a queued call; until
  // this is called they are drawn at once, as the tests have them.
  void drawPreviewsOnAThread();

  // WindowView.
  std::string Text(Control control) const override;
  void SetText(Control control, const std::string& text) override;
  void SetEntries(Control list, const std::vector<std::string>& entries) override;
  int SelectedIndex(Control list) const override;
  void Select(Control list, int index) override;
  void ShowDirectories(const std::vector<DirectoryEntry>& entries, int current) override;
  void ShowMessage(const std::string& text) override;
  void SetWindowEnabled(bool enabled) override;
  void EndProgram() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void fillLists();
  void createControls();
  void createMenu();
  // The map: its logic, its lazily built window, the "&View" menu and the edits it follows.
  void createMap(PreviewSeeds seeds);
  void connectReactions();
  QWidget* control(Control which) const { return controls_[IndexOf(which)]; }
  // The control as the widget it is built as.
  template <typename Widget>
  Widget* widget(Control which) const {
    return qobject_cast<Widget*>(control(which));
  }

  MessagePresenter presenter_;
  std::unique_ptr<RandomSource> random_;
  std::unique_ptr<DriveSource> drives_;
  WindowLogic logic_;
  QPointer<QWidget> focusBeforeRun_;
  bool listsFillQueued_ = false;
  bool listsFilled_ = false;
  QStringList namedFiles_;  // named at start, before the lists were filled
  // Declared after the logic, the window it paints from goes first.
  std::unique_ptr<MapLogic> mapLogic_;
  std::unique_ptr<MapWindow> mapWindow_;

  // The controls of the layout table, at their index in it.
  std::array<QWidget*, kControlCount> controls_{};
};

}  // namespace bosquell
