#include "UpdateSettingsView.h"

#include "Ostrel.h"
#include "Updater.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int margin = 20;
constexpr int cardPadding = 12;
constexpr int rowSpacing = 10;
constexpr int headerSpacing = 6;
constexpr qreal cornerRadius = 12;
constexpr qreal captionScale = 11.5 / 13;

// Text of less weight than the rows': the window's text colour most of the way to its background.
QColor secondary(const QPalette &palette)
{
    const QColor text = palette.color(QPalette::WindowText);
    const QColor back = palette.color(QPalette::Window);
    constexpr float ink = 0.7f;
    return QColor::fromRgbF(text.redF() * ink + back.redF() * (1 - ink), text.greenF() * ink + back.greenF() * (1 - ink),
                            text.blueF() * ink + back.blueF() * (1 - ink));
}

// The rows of a section on a rounded card in the base colour with a hairline border (the palette's
// mid colour), as the program's own settings sections are drawn.
class Card : public QWidget {
public:
    Card()
    {
        auto *rows = new QVBoxLayout(this);
        rows->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
        rows->setSpacing(rowSpacing);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF inside = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.setBrush(palette().color(QPalette::Base));
        painter.drawRoundedRect(inside, cornerRadius - 0.5, cornerRadius - 0.5);
    }
};

// Its colour is set by tint().
QLabel *secondaryLabel(const QString &text, qreal scale, QFont::Weight weight)
{
    auto *label = new QLabel(text);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setWeight(weight);
    label->setFont(font);
    return label;
}

// The label on the left, what it names on the right.
QHBoxLayout *labelledRow(const QString &label, QWidget *value)
{
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(label));
    row->addStretch();
    row->addWidget(value);
    value->setAccessibleName(label);
    return row;
}

} // namespace

UpdateSettingsView::UpdateSettingsView(QWidget *parent)
    : QWidget(parent), m_heading(secondaryLabel(tr("Updates"), 1, QFont::Medium)),
      m_automatic(new QCheckBox(tr("Download and install updates automatically"))),
      m_explanation(secondaryLabel({}, captionScale, QFont::Normal)), m_status(new QLabel),
      m_checkNow(new QPushButton(tr("Check Now")))
{
    Updater &updater = Ostrel::updater();
    auto *card = new Card;
    auto *rows = static_cast<QVBoxLayout *>(card->layout());
    rows->addLayout(labelledRow(tr("Version"), new QLabel(updater.bundle().version)));
    rows->addWidget(m_automatic);
    m_explanation->setWordWrap(true);
    rows->addWidget(m_explanation);
    auto *statusRow = new QHBoxLayout;
    m_status->setWordWrap(true);
    m_status->setObjectName(QStringLiteral("updateStatus"));
    m_status->setAccessibleName(tr("Status"));
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_checkNow, 0, Qt::AlignTop);
    rows->addLayout(statusRow);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(headerSpacing);
    layout->addWidget(m_heading);
    layout->addWidget(card);
    layout->addStretch();

    m_explanation->setText(
        updater.enabled()
            ? tr("%1 looks for a new version once a day; each one is checked against its maker’s signature and "
                 "installed when you quit.")
                  .arg(updater.bundle().name)
            : tr("This copy of %1 is updated by whoever installed it: a package manager, or a new build from source.")
                  .arg(updater.bundle().name));
    m_automatic->setEnabled(updater.enabled());
    m_checkNow->setEnabled(updater.enabled());
    connect(m_automatic, &QCheckBox::toggled, &updater, &Updater::setAutoUpdate);
    connect(m_checkNow, &QPushButton::clicked, &updater, &Updater::checkNow);
    connect(&updater, &Updater::changed, this, &UpdateSettingsView::follow);
    connect(&updater, &Updater::autoUpdateChanged, this, &UpdateSettingsView::follow);
    follow();
    tint();
}

void UpdateSettingsView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        tint();
    QWidget::changeEvent(event);
}

// The heading and the explanation follow the window's colours, as they change with the appearance.
void UpdateSettingsView::tint()
{
    for (QLabel *label : {m_heading, m_explanation}) {
        QPalette shades = label->palette();
        shades.setColor(QPalette::WindowText, secondary(palette()));
        label->setPalette(shades);
    }
}

QString UpdateSettingsView::statusLine() const
{
    return m_status->text();
}

QString UpdateSettingsView::explanation() const
{
    return m_explanation->text();
}

void UpdateSettingsView::follow()
{
    const Updater &updater = Ostrel::updater();
    {
        const QSignalBlocker quiet(m_automatic);
        m_automatic->setChecked(updater.enabled() && updater.autoUpdate());
    }
    QString status = updater.enabled() ? updater.headline() : tr("Updates are off in this copy.");
    if (updater.lastChecked().isValid())
        status += QLatin1Char(' ') +
                  tr("Last checked %1.").arg(QLocale().toString(updater.lastChecked(), QLocale::ShortFormat));
    m_status->setText(status);
}
