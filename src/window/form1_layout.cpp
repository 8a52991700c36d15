// The control tree of Form1: every control at its place and size, with its caption, initial
// text, font, limits and tab order. Places and sizes are given in twips, 15 to a pixel at
// 96 dpi; Qt scales the pixels on high-dpi screens.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include "window/classic_font.h"
#include "window/directory_list.h"
#include "window/file_list.h"
#include "window/form1.h"
#include "window_logic/window_texts.h"

namespace bosquell {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidth = 8730;
constexpr int kClientHeight = 5865;

QRect Twips(int left, int top, int width, int height) {
  return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
          height / kTwipsPerPixel};
}

template <typename Control>
Control* Place(Control* control, const char* name, const QRect& geometry) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(geometry);
  return control;
}

QGroupBox* Frame(QWidget* container, const char* name, const char* caption, const QRect& geometry) {
  return Place(new QGroupBox(QString::fromUtf8(caption), container), name, geometry);
}

QLineEdit* TextBox(QWidget* container, const char* name, const char* text, int maxLength,
                   const QRect& geometry) {
  // Built with its text, the box lays the text out once.
  auto* box = Place(new QLineEdit(QString::fromUtf8(text), container), name, geometry);
  box->setMaxLength(maxLength);  // also cuts pasted text
  return box;
}

QPushButton* Button(QWidget* container, const char* name, const char* caption,
                    const QRect& geometry) {
  auto* button = Place(new QPushButton(QString::fromUtf8(caption), container), name, geometry);
  // Neither Enter nor Esc presses a button of this window.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

void Form1::createControls() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromUtf8(kApplicationName));
  setFont(ClassicFont(8));

  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);
  setCentralWidget(client);

  QGroupBox* s = Frame(client, "S", "Select Mission File:", Twips(3480, 0, 5175, 5295));
  command2_ = Button(s, "Command2", "Open", Twips(120, 240, 2295, 375));
  drive1_ = Place(new QComboBox(s), "Drive1", Twips(2520, 240, 2535, 315));
  file1_ = Place(new FileList(s), "File1", Twips(120, 600, 2295, 4575));
  dir1_ = Place(new DirectoryList(s), "Dir1", Twips(2520, 600, 2535, 4590));

  QGroupBox* frame2 = Frame(client, "Frame2", "Center Offset:", Twips(120, 0, 3255, 975));
  QGroupBox* frame3 = Frame(frame2, "Frame3", "X", Twips(120, 240, 1455, 615));
  text1_ = TextBox(frame3, "Text1", "0", 6, Twips(120, 240, 1215, 285));
  QGroupBox* frame4 = Frame(frame2, "Frame4", "Y", Twips(1680, 240, 1455, 615));
  text3_ = TextBox(frame4, "Text3", "0", 6, Twips(120, 240, 1215, 285));

  QGroupBox* frame5 = Frame(client, "Frame5", "Range:", Twips(120, 1080, 3255, 975));
  QGroupBox* frame6 = Frame(frame5, "Frame6", "X", Twips(120, 240, 1455, 615));
  text4_ = TextBox(frame6, "Text4", "1024", 6, Twips(120, 240, 1215, 285));
  QGroupBox* frame7 = Frame(frame5, "Frame7", "Y", Twips(1680, 240, 1455, 615));
  text2_ = TextBox(frame7, "Text2", "1024", 6, Twips(120, 240, 1215, 285));

  QGroupBox* frame1 =
      Frame(client, "Frame1", "Number of objects to add:", Twips(120, 2160, 3255, 615));
  text5_ = TextBox(frame1, "Text5", "20", 3, Twips(120, 240, 3015, 285));

  QGroupBox* frame8 = Frame(client, "Frame8", "Select Tree order:", Twips(120, 2880, 3255, 615));
  combo1_ = Place(new QComboBox(frame8), "Combo1", Twips(120, 240, 3015, 315));
  combo1_->setEditable(true);
  // Typing in the field is free text: Enter adds nothing to the list, nothing is completed
  // from it, and finishing the edit does not select the entry the text happens to match
  // (which would otherwise announce itself as a pick).
  combo1_->setInsertPolicy(QComboBox::NoInsert);
  combo1_->setCompleter(nullptr);
  QObject::disconnect(combo1_->lineEdit(), &QLineEdit::editingFinished, combo1_, nullptr);

  QGroupBox* frame9 =
      Frame(client, "Frame9", "Advanced: Enter own object id:", Twips(120, 3600, 3255, 615));
  text6_ = TextBox(frame9, "Text6", "", 6, Twips(120, 240, 3015, 285));

  command1_ = Button(client, "Command1", "Add Objects", Twips(120, 4320, 3255, 975));
  command1_->setFont(ClassicFont(13.5));

  label1_ = Place(new QLabel(QString::fromUtf8(kStatusPleaseOpen), client), "Label1",
                  Twips(120, 5400, 8535, 375));
  label1_->setFont(ClassicFont(12));
  label1_->setAlignment(Qt::AlignCenter);
  label1_->setFrameStyle(QFrame::Box | QFrame::Plain);
  label1_->setLineWidth(1);

  createMenu();

  // The window is as big as its client area and the menu bar, and cannot be resized.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  arrangeTabOrder();
  nameControlsForScreenReaders();
  drive1_->setFocus();
}

void Form1::createMenu() {
  QMenu* prgm = menuBar()->addMenu(tr("&Program"));
  prgm->setObjectName(QStringLiteral("prgm"));

  QAction* aboutas = prgm->addAction(tr("&About"));
  aboutas->setObjectName(QStringLiteral("aboutas"));
  aboutas->setShortcut(QKeySequence(Qt::Key_F1));
  connect(aboutas, &QAction::triggered, this, [this] { logic_.About(); });

  QAction* minln = prgm->addSeparator();
  minln->setObjectName(QStringLiteral("minln"));

  QAction* ext = prgm->addAction(tr("&Exit"));
  ext->setObjectName(QStringLiteral("ext"));
  connect(ext, &QAction::triggered, this, [this] { logic_.Exit(); });
}

void Form1::arrangeTabOrder() {
  QWidget* const order[] = {drive1_, file1_, dir1_,     command1_, text1_,  text3_,
                            text4_,  text2_, command2_, text5_,    combo1_, text6_};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form1::nameControlsForScreenReaders() {
  for (Control each :
       {Control::kDrive1, Control::kDir1, Control::kFile1, Control::kText1, Control::kText2,
        Control::kText3, Control::kText4, Control::kText5, Control::kText6, Control::kCombo1,
        Control::kCommand1, Control::kCommand2, Control::kLabel1}) {
    const std::string_view name = AccessibleName(each);
    control(each)->setAccessibleName(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  }
}

}  // namespace bosquell
