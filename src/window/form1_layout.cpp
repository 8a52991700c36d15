// The control tree of Form1, built from the layout table the Windows window shares: every
// control at its place and size, with its caption, initial text, font, limit, screen-reader
// name and tab order. Twips become pixels at 15 to a pixel (96 dpi); Qt scales the pixels on
// high-dpi screens.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <string_view>

#include "form/form1_layout.h"
#include "window/classic_font.h"
#include "window/directory_list.h"
#include "window/file_list.h"
#include "window/form1.h"
#include "window_logic/window_texts.h"

namespace bosquell {
namespace {

constexpr int kTwipsPerPixel = 15;

QRect Pixels(const TwipsRect& twips) {
  return {twips.left / kTwipsPerPixel, twips.top / kTwipsPerPixel, twips.width / kTwipsPerPixel,
          twips.height / kTwipsPerPixel};
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLineEdit* TextBox(const ControlLayout& layout, QWidget* container) {
  // Built with its text, the box lays the text out once.
  auto* box = new QLineEdit(ToQString(layout.caption), container);
  box->setMaxLength(layout.textLimit);  // also cuts pasted text
  return box;
}

QPushButton* Button(const ControlLayout& layout, QWidget* container) {
  auto* button = new QPushButton(ToQString(layout.caption), container);
  // Neither Enter nor Esc presses a button of this window.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QComboBox* ThemeBox(const ControlLayout& layout, QWidget* container) {
  auto* combo = new QComboBox(container);
  combo->setEditable(true);
  combo->setEditText(ToQString(layout.caption));
  // Typing in the field is free text: Enter adds nothing to the list, nothing is completed
  // from it, and finishing the edit does not select the entry the text happens to match
  // (which would otherwise announce itself as a pick).
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
  QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
  return combo;
}

QLabel* StatusLine(const ControlLayout& layout, QWidget* container) {
  auto* label = new QLabel(ToQString(layout.caption), container);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameStyle(QFrame::Box | QFrame::Plain);
  label->setLineWidth(1);
  return label;
}

QWidget* Build(const ControlLayout& layout, QWidget* container) {
  switch (layout.kind) {
    case ControlKind::kFrame:
      return new QGroupBox(ToQString(layout.caption), container);
    case ControlKind::kCommandButton:
      return Button(layout, container);
    case ControlKind::kDriveList:
      return new QComboBox(container);
    case ControlKind::kFileList:
      return new FileList(container);
    case ControlKind::kDirectoryList:
      return new DirectoryList(container);
    case ControlKind::kTextBox:
      return TextBox(layout, container);
    case ControlKind::kComboBox:
      return ThemeBox(layout, container);
    case ControlKind::kLabel:
      return StatusLine(layout, container);
  }
  return new QWidget(container);
}

}  // namespace

void Form1::createControls() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromUtf8(kApplicationName));
  setFont(ClassicFont(8));

  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
  setCentralWidget(client);

  // Every control from the shared table, each container before what it holds.
  for (const ControlLayout& layout : kForm1Layout) {
    QWidget* container = layout.container ? control(*layout.container) : client;
    QWidget* built = Build(layout, container);
    built->setObjectName(ToQString(layout.name));
    built->setGeometry(Pixels(layout.place));
    if (layout.pointSize != 8) built->setFont(ClassicFont(layout.pointSize));
    if (!layout.accessibleName.empty()) built->setAccessibleName(ToQString(layout.accessibleName));
    controls_[IndexOf(layout.control)] = built;
  }

  createMenu();

  // The window is as big as its client area and the menu bar, and cannot be resized.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  // Tab visits the controls that take the focus in the table's order.
  QWidget* previous = nullptr;
  for (const ControlLayout* layout : TabOrder()) {
    QWidget* next = control(layout->control);
    if (previous != nullptr) QWidget::setTabOrder(previous, next);
    previous = next;
  }
  control(Control::kDriveList)->setFocus();
}

void Form1::createMenu() {
  QMenu* prgm = menuBar()->addMenu(tr("&Program"));
  prgm->setObjectName(QStringLiteral("prgm"));

  QAction* aboutas = prgm->addAction(tr("&About"));
  aboutas->setObjectName(QStringLiteral("aboutas"));
  aboutas->setShortcut(QKeySequence(Qt::Key_F1));
  // Also in the map window, whose box then stands in front of the map.
  aboutas->setShortcutContext(Qt::ApplicationShortcut);
  connect(aboutas, &QAction::triggered, this, [this] { logic_.About(); });

  QAction* minln = prgm->addSeparator();
  minln->setObjectName(QStringLiteral("minln"));

  QAction* ext = prgm->addAction(tr("&Exit"));
  ext->setObjectName(QStringLiteral("ext"));
  connect(ext, &QAction::triggered, this, [this] { logic_.Exit(); });
}

}  // namespace bosquell
