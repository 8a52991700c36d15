// Starts a window as the program does, and ends as soon as the window system has shown it, so
// that a script can time the whole start of the process: Bosquell's Form1, or with --minimal a
// plain QMainWindow holding one label, the least a Qt Widgets program can show.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QWindow>

#include <memory>
#include <string_view>

#include "window/app_icon.h"
#include "window/form1.h"
#include "window/overflow_free_style.h"
#include "window_logic/window_texts.h"

namespace {

// Quits the application at the first expose of the window it watches.
class QuitWhenExposed : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
      QCoreApplication::quit();
    }
    return false;
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const bool minimal = argc > 1 && std::string_view(argv[1]) == "--minimal";
  std::unique_ptr<QMainWindow> window;
  if (minimal) {
    window = std::make_unique<QMainWindow>();
    window->setCentralWidget(new QLabel(QStringLiteral("Bosquell")));
  } else {
    QApplication::setApplicationName(QString::fromUtf8(bosquell::kApplicationName));
    QApplication::setWindowIcon(bosquell::BosquellIcon());
    bosquell::UseOverflowFreeStyle();
    window = std::make_unique<bosquell::Form1>();
  }
  window->show();
  QuitWhenExposed quit;
  window->windowHandle()->installEventFilter(&quit);
  return app.exec();
}
