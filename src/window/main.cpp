#include <QApplication>
#include <QStringList>

#include "window/app_icon.h"
#include "window/form1.h"
#include "window/overflow_free_style.h"
#include "window_logic/window_texts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(bosquell::kApplicationName));
  QApplication::setWindowIcon(bosquell::BosquellIcon());
  bosquell::UseOverflowFreeStyle();

  bosquell::Form1 window;
  window.drawPreviewsOnAThread();
  window.show();
  // A mission file named on the command line (Open With, or dropped on the program's icon),
  // opened once the window has filled its lists; Qt has taken its own options out of the
  // arguments already.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) window.openNamedFile(arguments.at(1));
  return app.exec();
}
