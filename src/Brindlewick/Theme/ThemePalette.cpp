#include "ThemePalette.h"

#include "Theme.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QWidget>

namespace {

constexpr char followerName[] = "ThemePaletteFollower";

class Follower : public QObject {
public:
    Follower(QWidget *widget, ThemePalette::Roles roles) : QObject(widget), m_widget(widget), m_roles(std::move(roles))
    {
        setObjectName(followerName);
        widget->installEventFilter(this);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
            area->viewport()->installEventFilter(this);
        apply();
    }

    void setRoles(ThemePalette::Roles roles)
    {
        m_roles = std::move(roles);
        apply();
    }

    void apply() const
    {
        QPalette palette = m_widget->palette();
        for (const auto &[role, color] : m_roles) {
            palette.setColor(QPalette::Active, role, color.resolved(m_widget));
            palette.setColor(QPalette::Inactive, role, color.resolved(m_widget));
            palette.setColor(QPalette::Disabled, role, color.resolved(m_widget, 0.5));
        }
        if (palette != m_widget->palette())
            m_widget->setPalette(palette);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            apply();
        return false;
    }

private:
    QWidget *m_widget;
    ThemePalette::Roles m_roles;
};

} // namespace

namespace ThemePalette {

void follow(QWidget *widget, const Roles &roles)
{
    if (auto *follower = widget->findChild<QObject *>(followerName, Qt::FindDirectChildrenOnly))
        static_cast<Follower *>(follower)->setRoles(roles);
    else
        new Follower(widget, roles);
}

Roles window()
{
    return {
        {QPalette::Window, Theme::desk},         {QPalette::WindowText, Theme::ink},
        {QPalette::Base, Theme::card},           {QPalette::AlternateBase, Theme::well},
        {QPalette::Text, Theme::ink},            {QPalette::Button, Theme::well},
        {QPalette::ButtonText, Theme::ink},      {QPalette::BrightText, Theme::accentInk},
        {QPalette::Highlight, Theme::accent},    {QPalette::HighlightedText, Theme::accentInk},
        {QPalette::PlaceholderText, Theme::ink3}, {QPalette::ToolTipBase, Theme::card},
        {QPalette::ToolTipText, Theme::ink},     {QPalette::Link, Theme::accent},
        {QPalette::LinkVisited, Theme::accent},  {QPalette::Light, Theme::card},
        {QPalette::Midlight, Theme::well},       {QPalette::Mid, Theme::hairline},
        {QPalette::Dark, Theme::ink3},           {QPalette::Shadow, Theme::ink2},
    };
}

} // namespace ThemePalette
