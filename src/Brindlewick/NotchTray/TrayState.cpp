#include "TrayState.h"

#include "NoteWindows/ScreenSpace.h"

namespace {

std::optional<bool> forced;

ScreenShape measuredScreen()
{
    const auto frame = ScreenSpace::mainFrame();
    const auto visible = ScreenSpace::mainVisibleFrame();
    if (!frame || !visible)
        return ScreenShape{QRectF(0, 0, 1512, 982), QRectF(0, 0, 1512, 950), 0, std::nullopt, std::nullopt};
    return ScreenShape{*frame, *visible, 0, std::nullopt, std::nullopt};
}

ScreenShape withNotch(ScreenShape screen, bool notch)
{
    if (!notch) {
        screen.safeTop = 0;
        screen.auxLeft = screen.auxRight = std::nullopt;
        return screen;
    }
    const QSizeF housing = TrayState::forcedNotchSize;
    const double side = (screen.frame.width() - housing.width()) / 2;
    screen.safeTop = housing.height();
    screen.auxLeft = side;
    screen.auxRight = side;
    return screen;
}

} // namespace

namespace TrayState {

TrayGeometry currentGeometry()
{
    const ScreenShape screen = measuredScreen();
    return TrayGeometry(forced ? withNotch(screen, *forced) : screen);
}

void forceNotch(std::optional<bool> notch)
{
    forced = notch;
}

} // namespace TrayState
