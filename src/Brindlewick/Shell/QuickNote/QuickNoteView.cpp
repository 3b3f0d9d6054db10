#include "QuickNoteView.h"

#include "PreviewChip.h"

#include "State/AppModel.h"
#include "Theme/Appearance.h"
#include "Theme/ColorDots.h"
#include "Theme/Fonts.h"
#include "Theme/Paper.h"
#include "Theme/PaperBackground.h"
#include "Theme/Symbols.h"

#include "Calendar.h"
#include "QuickParse.h"
#include "TimeText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr QSize viewSize{520, 150};
constexpr int padding = 16;
constexpr int rowSpacing = 10;
constexpr int chipRowHeight = 22;
constexpr qreal dotSize = 14;

// Each piece draws in the paper's ink at its own strength.
constexpr qreal badgeOpacity = 0.7;
constexpr qreal hintOpacity = 0.55;
constexpr qreal tuckOpacity = 0.8;
constexpr qreal placeholderOpacity = 0.45;

void setColors(QWidget *widget, std::initializer_list<QPalette::ColorRole> roles, const QColor &color)
{
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role : roles)
        palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace

QuickNoteView::QuickNoteView(AppModel &model, std::function<void(bool)> close, QWidget *parent)
    : QWidget(parent), m_model(model), m_close(std::move(close))
{
    // The panel is a piece of paper: light whatever the desktop's scheme.
    Appearance::force(this, Scheme::light);
    setFixedSize(viewSize);
    buildRows();

    connect(m_line, &QLineEdit::textChanged, this, &QuickNoteView::refreshPreview);
    connect(m_line, &QLineEdit::returnPressed, this, &QuickNoteView::make);
    connect(m_dots, &ColorDots::selectionChanged, this, [this](NoteColor color) {
        m_color = color;
        refreshPaper();
    });
    // A hidden panel catches up with the clock when it shows.
    connect(&m_model, &AppModel::nowChanged, this, [this] {
        if (isVisible())
            refreshPreview();
    });
    connect(&m_model, &AppModel::defaultColorChanged, this, &QuickNoteView::refreshPaper);
    connect(&m_model, &AppModel::trayEnabledChanged, this,
            [this] { m_tuck->setVisible(m_model.trayEnabled()); });
    m_tuck->setVisible(m_model.trayEnabled());
    refreshPreview();
    refreshPaper();
}

void QuickNoteView::buildRows()
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(rowSpacing);

    auto *entry = new QHBoxLayout;
    entry->setSpacing(10);
    m_badge = new QLabel(Symbols::glyph(u"note.text.badge.plus"), this);
    m_badge->setFont(Symbols::font(18));
    m_line = new QLineEdit(this);
    m_line->setObjectName(QStringLiteral("line"));
    m_line->setFrame(false);
    m_line->setFont(Fonts::system(18, QFont::Medium, Fonts::Design::rounded));
    m_line->setPlaceholderText(tr("A note… try “tea 4m” or “send invoice by 5pm”"));
    m_line->setAccessibleName(tr("Quick note"));
    entry->addWidget(m_badge);
    entry->addWidget(m_line, 1);
    column->addLayout(entry);

    auto *preview = new QHBoxLayout;
    preview->setSpacing(6);
    m_timerChip = new PreviewChip(QStringLiteral("timer"), Paper::ink(paper()), this);
    m_timerChip->setObjectName(QStringLiteral("timerChip"));
    m_deadlineChip = new PreviewChip(QStringLiteral("flag.fill"), Paper::ink(paper()), this);
    m_deadlineChip->setObjectName(QStringLiteral("deadlineChip"));
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("hint"));
    m_hint->setFont(Fonts::caption());
    for (QWidget *piece : std::initializer_list<QWidget *>{m_timerChip, m_deadlineChip, m_hint})
        preview->addWidget(piece);
    preview->addStretch(1);
    auto *previewRow = new QWidget(this);
    previewRow->setFixedHeight(chipRowHeight);
    previewRow->setLayout(preview);
    preview->setContentsMargins(0, 0, 0, 0);
    column->addWidget(previewRow);

    auto *choices = new QHBoxLayout;
    m_dots = new ColorDots(paper(), dotSize, this);
    m_tuck = new QCheckBox(tr("Tuck into the notch"), this);
    m_tuck->setObjectName(QStringLiteral("tuck"));
    m_tuck->setFont(Fonts::caption());
    // Ticked by a click, the box leaves the keyboard with the line, as the dots do.
    m_tuck->setFocusPolicy(Qt::TabFocus);
    choices->addWidget(m_dots);
    choices->addStretch(1);
    choices->addWidget(m_tuck);
    column->addLayout(choices);
}

QString QuickNoteView::line() const
{
    return m_line->text();
}

// A choice made while the tray was on does not send notes into a tray that is off.
bool QuickNoteView::tucked() const
{
    return m_tuck->isChecked() && m_model.trayEnabled();
}

NoteColor QuickNoteView::paper() const
{
    return m_color.value_or(m_model.defaultColor());
}

void QuickNoteView::make()
{
    const std::optional<QUuid> id = m_model.quickNote(m_line->text(), m_color, tucked());
    if (!id)
        return;
    m_line->clear();
    m_close(false);
    if (m_model.onShow)
        m_model.onShow(*id);
}

void QuickNoteView::refreshPreview()
{
    const Calendar calendar = Calendar::current();
    const QLocale locale;
    const QuickNote parsed = QuickParse::parse(m_line->text(), m_model.now(), calendar, locale);
    if (parsed.timer)
        m_timerChip->setText(tr("%1 timer, starts now").arg(TimeText::span(*parsed.timer)));
    if (parsed.deadline)
        m_deadlineChip->setText(tr("Due %1").arg(TimeText::due(*parsed.deadline, m_model.now(), calendar, locale)));
    m_timerChip->setVisible(parsed.timer.has_value());
    m_deadlineChip->setVisible(parsed.deadline.has_value());
    // A line at the field's limit lost whatever a paste held beyond it: say so, whatever else shows.
    const bool full = m_line->text().size() >= m_line->maxLength();
    m_hint->setText(full ? tr("Cut at %1 characters: a quick note holds no more").arg(locale.toString(m_line->maxLength()))
                         : tr("Return to stick it on the desktop · Esc to close"));
    m_hint->setVisible(full || (!parsed.timer && !parsed.deadline));
}

void QuickNoteView::refreshPaper()
{
    const NoteColor color = paper();
    const Color ink = Paper::ink(color);
    {
        // Showing the default colour is not picking it.
        const QSignalBlocker quiet(m_dots);
        m_dots->setSelection(color);
    }
    m_timerChip->setInk(ink);
    m_deadlineChip->setInk(ink);
    setColors(m_line, {QPalette::Text}, ink.resolved(this));
    setColors(m_line, {QPalette::PlaceholderText}, ink.resolved(this, placeholderOpacity));
    setColors(m_line, {QPalette::Base}, Qt::transparent);
    setColors(m_badge, {QPalette::WindowText}, ink.resolved(this, badgeOpacity));
    setColors(m_hint, {QPalette::WindowText}, ink.resolved(this, hintOpacity));
    setColors(m_tuck, {QPalette::WindowText, QPalette::ButtonText}, ink.resolved(this, tuckOpacity));
    update();
}

void QuickNoteView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.setClipPath(clip);
    PaperBackground::paint(painter, rect(), paper(), false, this);
}

// Return adds the note wherever the keyboard is in the panel; the line answers its own Return,
// which it passes on too.
void QuickNoteView::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->key() == Qt::Key_Escape)
        m_close(true);
    else if (enter && !m_line->hasFocus())
        make();
    else
        QWidget::keyPressEvent(event);
}

void QuickNoteView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refreshPreview();
    // The kept line is selected, as a field taking the focus does: typing replaces it, an arrow keeps it.
    m_line->selectAll();
    m_line->setFocus();
}
