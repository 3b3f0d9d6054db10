#pragma once

#include "Theme/StyledButton.h"

// A symbol button of the open tray's header: a 26 × 22 capsule of faint white, brighter while
// pressed, with the symbol in white; its tooltip and accessibility label are the same words. A click
// leaves the keyboard where it is; Tab reaches it once the tray has the keyboard, and there Space or
// Return presses it.
class TrayButton : public StyledButton {
    Q_OBJECT
public:
    TrayButton(const QString &symbol, const QString &help, QWidget *parent = nullptr);

    QSize sizeHint() const override { return {26, 22}; }

protected:
    QFont labelFont() const override;
    QMarginsF labelPadding() const override { return {}; }
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
