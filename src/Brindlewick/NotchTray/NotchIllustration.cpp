#include "NotchIllustration.h"

#include "TrayShape.h"
#include "Theme/Fonts.h"
#include "Theme/Paper.h"
#include "Theme/PaperBackground.h"
#include "Theme/RoundedShape.h"
#include "Theme/Symbols.h"
#include "Theme/TimeTape.h"

#include "TimeText.h"

#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace {

constexpr qreal cornerRadius = 14;
constexpr qreal menuBarHeight = 18;
constexpr qreal earWidth = 48;
constexpr qreal notchWidth = 96;
constexpr qreal dotWidth = 12;
constexpr qreal openDrop = 30;
constexpr qreal openPadding = 10;
constexpr qreal miniSpacing = 8;
constexpr QSizeF miniSize{66, 58};
constexpr int tuckedCount = 3;
constexpr double peachSeconds = 151;

struct Mini {
    NoteColor paper;
    std::optional<Countdown> countdown;
};

const std::array<Mini, 3> &minis()
{
    static const std::array<Mini, 3> notes{{
        {NoteColor::peach, Countdown{Countdown::Kind::timer(NoteTimer::State::running), peachSeconds, 0.63, Urgency::calm}},
        {NoteColor::mint, std::nullopt},
        {NoteColor::graphite, std::nullopt},
    }};
    return notes;
}

QSizeF restingSize(bool notch)
{
    return {2 * earWidth + (notch ? notchWidth : dotWidth), notch ? 24.0 : 18.0};
}

QSizeF openSize()
{
    const qreal row = minis().size() * miniSize.width() + (minis().size() - 1) * miniSpacing;
    return {row + 2 * openPadding, miniSize.height() + 2 * openPadding};
}

void fillCapsule(QPainter &painter, const QRectF &rect, const QColor &color)
{
    RoundedShape::fill(painter, rect, RoundedShape::capsule(rect), color);
}

// A tucked note in miniature: always in the light scheme, whatever the appearance around it.
void paintMini(QPainter &painter, const QRectF &rect, const Mini &mini)
{
    PaperBackground::paint(painter, rect, mini.paper, false, Scheme::light);
    const QRectF inner = rect.adjusted(6, 6, -6, -6);
    const qreal middle = inner.center().x();
    TimeTape::paint(painter, QRectF(middle - 22, inner.top(), 44, 10), mini.countdown, mini.paper, false, Scheme::light);
    const QColor line = Paper::ink(mini.paper).resolved(Scheme::light, 0.25);
    qreal y = inner.top() + 10 + 5;
    for (qreal lineWidth : {48.0, 34.0}) {
        fillCapsule(painter, QRectF(middle - lineWidth / 2, y, lineWidth, 4), line);
        y += 4 + 5;
    }
}

void paintEar(QPainter &painter, const QRectF &rect, const QString &symbol, const QString &text)
{
    const QFont &font = Fonts::clock();
    const qreal symbolPoints = 9;
    const qreal symbolWidth = symbol.isEmpty() ? 0 : Symbols::width(symbol, symbolPoints) + 4;
    const qreal textWidth = QFontMetricsF(font).horizontalAdvance(text);
    qreal x = rect.center().x() - (symbolWidth + textWidth) / 2;
    if (!symbol.isEmpty())
        Symbols::draw(painter, QRectF(x, rect.top(), symbolWidth - 4, rect.height()), symbol, symbolPoints, Qt::white);
    x += symbolWidth;
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(x, rect.top(), textWidth + 1, rect.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
}

// The illustration repeats what the texts beside it say; assistive technologies pass over it.
class HiddenPicture : public QAccessibleWidget {
public:
    explicit HiddenPicture(QWidget *widget) : QAccessibleWidget(widget, QAccessible::NoRole) {}

    QAccessible::State state() const override
    {
        QAccessible::State hidden = QAccessibleWidget::state();
        hidden.invisible = true;
        return hidden;
    }
};

QAccessibleInterface *hiddenPicture(const QString &className, QObject *object)
{
    if (className == QLatin1String("NotchIllustration") && object && object->isWidgetType())
        return new HiddenPicture(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

NotchIllustration::NotchIllustration(bool hasNotch, QWidget *parent) : QWidget(parent), m_hasNotch(hasNotch)
{
    setFixedWidth(pictureWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    static const bool factoryInstalled = (QAccessible::installFactory(hiddenPicture), true);
    Q_UNUSED(factoryInstalled);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRectF NotchIllustration::canvas() const
{
    return QRectF(0, 0, pictureWidth, height());
}

QRectF NotchIllustration::restingRect() const
{
    const QSizeF size = restingSize(m_hasNotch);
    return QRectF(QPointF(canvas().center().x() - size.width() / 2, 0), size);
}

QRectF NotchIllustration::openRect() const
{
    const QSizeF size = openSize();
    return QRectF(QPointF(canvas().center().x() - size.width() / 2, openDrop), size);
}

void NotchIllustration::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath clip;
    clip.addRoundedRect(canvas(), cornerRadius, cornerRadius);
    painter.setClipPath(clip);

    QLinearGradient desktop(canvas().topLeft(), canvas().bottomRight());
    desktop.setColorAt(0, QColor::fromRgb(0x5B7DB1));
    desktop.setColorAt(0.5, QColor::fromRgb(0xC58BA6));
    desktop.setColorAt(1, QColor::fromRgb(0xF2B880));
    painter.fillPath(clip, desktop);
    painter.fillRect(QRectF(0, 0, pictureWidth, menuBarHeight), QColor(255, 255, 255, qRound(255 * 0.3)));

    const QRectF resting = restingRect();
    painter.fillPath(TrayShape{m_hasNotch ? 8.0 : 9.0}.path(resting), Qt::black);
    paintEar(painter, QRectF(resting.left(), resting.top(), earWidth, resting.height()), QStringLiteral("note.text"),
             QString::number(tuckedCount));
    if (!m_hasNotch) {
        painter.setOpacity(0.5);
        paintEar(painter, QRectF(resting.left() + earWidth, resting.top(), dotWidth, resting.height()), {},
                 QStringLiteral("·"));
        painter.setOpacity(1);
    }
    paintEar(painter, QRectF(resting.right() - earWidth, resting.top(), earWidth, resting.height()), {},
             TimeText::clock(peachSeconds));

    // The open tray is one layer at 0.95 opacity, so its notes do not show the black through.
    const QRectF open = openRect();
    QImage layer((open.size() * devicePixelRatioF()).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(devicePixelRatioF());
    layer.fill(Qt::transparent);
    {
        QPainter tray(&layer);
        tray.setRenderHint(QPainter::Antialiasing);
        const QRectF bounds(QPointF(), open.size());
        tray.fillPath(TrayShape{14}.path(bounds), Qt::black);
        QPointF at(openPadding, openPadding);
        for (const Mini &mini : minis()) {
            paintMini(tray, QRectF(at, miniSize), mini);
            at.rx() += miniSize.width() + miniSpacing;
        }
    }
    painter.setOpacity(0.95);
    painter.drawImage(open.topLeft(), layer);
}
