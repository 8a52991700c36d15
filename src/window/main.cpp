#include <QApplication>

#include "window/app_icon.h"
#include "window/form1.h"
#include "window_logic/window_texts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(bosquell::kApplicationName));
  QApplication::setWindowIcon(bosquell::BosquellIcon());

  bosquell::Form1 window;
  window.show();
  return app.exec();
}
