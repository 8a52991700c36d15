#include "window/message_box.h"

#include <QMessageBox>
#include <QString>

#include "window_logic/window_texts.h"

namespace bosquell {

void ShowMessageBox(QWidget* parent, const QString& text) {
  // Messages join their lines with CR LF; a label only breaks at the LF.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationName), shown, QMessageBox::Ok,
                  parent);
  box.setTextFormat(Qt::PlainText);  // paths may hold '<' or '&'
  // The main window and the map both wait for it, whichever of them it stands in front of.
  box.setWindowModality(Qt::ApplicationModal);
  // A run disables the window before it reports, and a child window inherits that; the box
  // must still take the mouse and the keyboard.
  box.setEnabled(true);
  box.exec();
}

}  // namespace bosquell
