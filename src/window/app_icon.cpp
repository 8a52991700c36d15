#include "window/app_icon.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <utility>

#include "window/ico_images.h"

// Resources compiled into a static library have to be registered by hand, from outside any
// namespace.
static void RegisterWindowResources() {
  Q_INIT_RESOURCE(bosquell);
}

namespace bosquell {
namespace {

int ScreenDepth() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->depth() : 32;
}

// An icon made of all the images of a .ico file, which shows, as Windows does, the image drawn
// for the size asked and the screen's colour depth: the 16-colour images on a 16-colour screen,
// the 256-colour ones elsewhere.
class IcoIconEngine final : public QIconEngine {
 public:
  explicit IcoIconEngine(QList<IcoImage> images) : images_(std::move(images)) {}

  QIconEngine* clone() const override { return new IcoIconEngine(images_); }
  QString key() const override { return QStringLiteral("BosquellIco"); }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (const IcoImage& each : images_) {
      if (!sizes.contains(each.image.size())) sizes.push_back(each.image.size());
    }
    return sizes;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const qsizetype index = PickIcoImage(images_, size, ScreenDepth());
    if (index < 0) return {};
    return images_[index].image.size().boundedTo(size);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const qsizetype index = PickIcoImage(images_, size, ScreenDepth());
    if (index < 0) return {};
    QImage image = images_[index].image;
    if (image.width() > size.width() || image.height() > size.height()) {
      image = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    // Greyed when disabled, tinted when selected, as the style draws every icon.
    if (mode != QIcon::Normal && QApplication::style() != nullptr) {
      QStyleOption option;
      option.palette = QGuiApplication::palette();
      pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    }
    return pixmap;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const QPixmap image = pixmap(rect.size(), mode, state);
    QRect target(QPoint(), image.size());
    target.moveCenter(rect.center());
    painter->drawPixmap(target, image);
  }

 private:
  QList<IcoImage> images_;
};

// The program's .ico, all four images of it, read once without Qt's image format plugins.
QIcon ReadIcon() {
  QFile file(QStringLiteral(":/bosquell/bosquell.ico"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QIcon(new IcoIconEngine(ReadIcoImages(file.readAll())));
}

}  // namespace

QIcon BosquellIcon() {
  static const bool registered = (RegisterWindowResources(), true);
  Q_UNUSED(registered);
  // Read once per application: the program and its window share one copy of the images. The
  // copy goes with the application, before Qt can no longer free its pixmaps.
  static QIcon* icon = nullptr;
  if (!icon) {
    icon = new QIcon(ReadIcon());
    qAddPostRoutine([] {
      delete icon;
      icon = nullptr;
    });
  }
  return *icon;
}

}  // namespace bosquell
