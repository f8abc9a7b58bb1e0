#pragma once

class QAbstractButton;

namespace sorvenka {

// Return and Enter on the keypad press a focused button as Space does: a push button is
// clicked, an option button becomes the selected one. Keys held down do not repeat the click.
// No button becomes a default button: Return in a text box still presses nothing.
void ClickOnReturnKey(QAbstractButton* button);

}  // namespace sorvenka
