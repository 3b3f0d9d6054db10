#include "PaperStyle.h"

#include "Theme.h"
#include "ThemePalette.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStyleFactory>
#include <QStyleOption>
#include <memory>

namespace {

// How much Fusion darkens the window colour for a control's edge (QColor::darker's factor).
constexpr int fusionEdgeDarkening = 140;

// The window colour that Fusion darkens into the theme's control edge.
QColor edgeSource(const QWidget *widget)
{
    const QColor edge = Theme::controlEdge.resolved(widget);
    return QColor::fromHsv(edge.hsvHue(), edge.hsvSaturation(),
                           qMin(255, edge.value() * fusionEdgeDarkening / 100));
}

// A copy of `option`, of its own type, whose window colour gives the theme's edge; null when the
// option is of none of the types below. Shared, so the copy is destroyed as the type it was made
// as: QStyleOption's destructor is not virtual.
std::shared_ptr<QStyleOption> withThemeEdge(const QStyleOption *option, const QWidget *widget)
{
    std::shared_ptr<QStyleOption> copy;
    if (const auto *box = qstyleoption_cast<const QStyleOptionComboBox *>(option))
        copy = std::make_shared<QStyleOptionComboBox>(*box);
    else if (const auto *spin = qstyleoption_cast<const QStyleOptionSpinBox *>(option))
        copy = std::make_shared<QStyleOptionSpinBox>(*spin);
    else if (const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option))
        copy = std::make_shared<QStyleOptionTab>(*tab);
    else if (const auto *frame = qstyleoption_cast<const QStyleOptionTabWidgetFrame *>(option))
        copy = std::make_shared<QStyleOptionTabWidgetFrame>(*frame);
    else if (const auto *lineFrame = qstyleoption_cast<const QStyleOptionFrame *>(option))
        copy = std::make_shared<QStyleOptionFrame>(*lineFrame);
    else if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option))
        copy = std::make_shared<QStyleOptionButton>(*button);
    if (copy)
        copy->palette.setColor(QPalette::Window, edgeSource(widget));
    return copy;
}

// A tool button that opens its menu from its whole face: Fusion draws the menu's arrow in its
// bottom-right corner, over the end of a text that fills the button.
bool menuOnFace(const QStyleOption *option)
{
    const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option);
    return button && (button->features & QStyleOptionToolButton::HasMenu)
           && !(button->features & QStyleOptionToolButton::MenuButtonPopup);
}

} // namespace

PaperStyle::PaperStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void PaperStyle::install()
{
    if (!qobject_cast<PaperStyle *>(QApplication::style()))
        QApplication::setStyle(new PaperStyle);
}

void PaperStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    if (qobject_cast<QMenu *>(widget) || qobject_cast<QMenuBar *>(widget))
        ThemePalette::follow(widget, ThemePalette::window());
}

void PaperStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
{
    const bool edged = element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton
                       || element == PE_FrameLineEdit || element == PE_PanelButtonCommand
                       || element == PE_FrameTabWidget;
    const std::shared_ptr<QStyleOption> themed = edged ? withThemeEdge(option, widget) : nullptr;
    QProxyStyle::drawPrimitive(element, themed ? themed.get() : option, painter, widget);
}

void PaperStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                             const QWidget *widget) const
{
    if (element == CE_ToolButtonLabel && menuOnFace(option)) {
        // The label is centred beside the arrow's room, which sizeFromContents added.
        QStyleOptionToolButton label = *qstyleoption_cast<const QStyleOptionToolButton *>(option);
        const int room = pixelMetric(PM_MenuButtonIndicator, option, widget);
        label.rect.adjust(label.direction == Qt::RightToLeft ? room : 0, 0,
                          label.direction == Qt::RightToLeft ? 0 : -room, 0);
        QProxyStyle::drawControl(element, &label, painter, widget);
        return;
    }
    const std::shared_ptr<QStyleOption> themed = element == CE_TabBarTabShape ? withThemeEdge(option, widget) : nullptr;
    QProxyStyle::drawControl(element, themed ? themed.get() : option, painter, widget);
}

void PaperStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                    const QWidget *widget) const
{
    const bool edged = control == CC_ComboBox || control == CC_SpinBox;
    const std::shared_ptr<QStyleOption> themed = edged ? withThemeEdge(option, widget) : nullptr;
    QProxyStyle::drawComplexControl(control, themed ? static_cast<const QStyleOptionComplex *>(themed.get()) : option,
                                    painter, widget);
}

QSize PaperStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                   const QWidget *widget) const
{
    QSize full = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_ToolButton && menuOnFace(option))
        full.rwidth() += pixelMetric(PM_MenuButtonIndicator, option, widget);
    return full;
}
