#pragma once
// The keys every dialog of the program answers the same way, whatever its buttons' default
// settings: Enter on a focused push button presses that button. Qt presses a focused button on
// Enter only when it may become the default, and some dialogs turn that off so that Enter in a
// box does not press OK; a user who has tabbed to OK still expects Enter to press it.
class QDialog;

namespace ui {

// Makes Enter (Return, or Enter on the keypad) press whichever push button of the dialog has the
// focus, buttons made later included. Enter elsewhere in the dialog does what it did. Calling it
// again changes nothing.
void pressFocusedButtonOnEnter(QDialog& dialog);

} // namespace ui
