#pragma once

#include <functional>

class QString;
class QWidget;

namespace bosquell {

// Shows one message to the user and returns once it has been dismissed. Every message of the
// window goes through one of these, so tests can record messages instead of blocking on them.
using MessagePresenter = std::function<void(QWidget* parent, const QString& text)>;

// The real presenter: a modal box with the text, a single OK button, no icon and the
// application's name as its caption.
void ShowMessageBox(QWidget* parent, const QString& text);

}  // namespace bosquell
