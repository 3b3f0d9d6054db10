#include "TrayState.h"

#include "NoteWindows/ScreenSpace.h"

#include "YUp.h"

#include <algorithm>

namespace {

std::optional<bool> forced;

// The tray hangs from the top of the primary screen's work area, so a panel along the top edge keeps
// its place and its clicks: the screen the tray measures ends where the panel begins.
ScreenShape measuredScreen()
{
    const auto frame = ScreenSpace::mainFrame();
    const auto visible = ScreenSpace::mainVisibleFrame();
    if (!frame || !visible)
        return ScreenShape{QRectF(0, 0, 1512, 982), QRectF(0, 0, 1512, 950), 0, std::nullopt, std::nullopt};
    QRectF underPanels = *frame;
    underPanels.setHeight(std::min(YUp::maxY(*visible), YUp::maxY(*frame)) - frame->y());
    return ScreenShape{underPanels, *visible, 0, std::nullopt, std::nullopt};
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

TrayState::TrayState(QObject *parent) : QObject(parent), m_geometry(currentGeometry()) {}

void TrayState::setMode(const TrayMode &mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    emit modeChanged();
}

void TrayState::setGeometry(const TrayGeometry &geometry)
{
    if (geometry == m_geometry)
        return;
    m_geometry = geometry;
    emit geometryChanged();
}

QSizeF TrayState::size(bool showingEars) const
{
    switch (m_mode.kind) {
    case TrayMode::Kind::resting: return m_geometry.resting(showingEars).size();
    case TrayMode::Kind::open: return m_geometry.openSize();
    case TrayMode::Kind::banner: return m_geometry.bannerSize();
    }
    return {};
}

QRectF TrayState::rect(bool showingEars) const
{
    return m_mode.isResting() ? m_geometry.resting(showingEars) : m_geometry.rect(size(showingEars));
}

TrayGeometry TrayState::currentGeometry()
{
    const ScreenShape screen = measuredScreen();
    return TrayGeometry(forced ? withNotch(screen, *forced) : screen);
}

void TrayState::forceNotch(std::optional<bool> notch)
{
    forced = notch;
}
