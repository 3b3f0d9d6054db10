#pragma once

#include <QWidget>

// A miniature desktop: a gradient screen with its top bar, the resting tray hanging from the camera
// notch (or from the slim strip without one) and the open tray below it with three tucked notes.
// Every number and text in it is made up; it reads nothing. 420 wide; the caller sets the height.
class NotchIllustration : public QWidget {
    Q_OBJECT
public:
    explicit NotchIllustration(bool hasNotch, QWidget *parent = nullptr);

    static constexpr int pictureWidth = 420;

    bool hasNotch() const { return m_hasNotch; }
    // Where the two trays lie, in the widget's coordinates.
    QRectF restingRect() const;
    QRectF openRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF canvas() const;

    bool m_hasNotch;
};
