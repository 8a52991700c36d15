#include "window/classic_font.h"

#include <QStringList>

namespace bosquell {

QFont ClassicFont(qreal pointSize) {
  QFont font;
  // Newer Windows installs carry the outline version of the same face under a longer name.
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(pointSize);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace bosquell
