#pragma once

class QAbstractButton;
class QKeyEvent;

// A focused button of ours takes Return and Enter as it takes Space, as a focused push button does.
namespace ReturnPress {

// Clicks the button on a Return or Enter without modifiers; false, leaving it alone, on any other key.
bool clicks(QAbstractButton &button, const QKeyEvent &event);

} // namespace ReturnPress
