// Saves what an X display shows, the whole screen or one window of any program, as a PNG: the
// screenshots' scripts (tools/map-screenshot) take Wine's windows with it where ImageMagick's
// import is not installed.
//
// Usage: bosquell_screen_grab <picture.png> [X window id]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s picture.png [window id]\n", argv[0]);
    return 2;
  }
  const WId window = argc > 2 ? static_cast<WId>(std::strtoull(argv[2], nullptr, 0)) : 0;
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "%s: the screen could not be grabbed or saved\n", argv[1]);
    return 1;
  }
  return 0;
}
