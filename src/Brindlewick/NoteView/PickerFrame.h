#pragma once

class QAbstractButton;
class QVBoxLayout;
class QWidget;

// The frame both pickers share: their column and the row of their closing buttons.
namespace PickerFrame {

// Around the column, on every side.
inline constexpr int padding = 16;

// A column 12 points apart inside 16 points of padding, laid out on `picker`.
QVBoxLayout *column(QWidget *picker);
// The optional removing button on the left, the main button on the right.
QWidget *buttonRow(QAbstractButton *remove, QAbstractButton *primary, QWidget *parent);

} // namespace PickerFrame
