#include "SearchField.h"

#include "Theme/PlainButton.h"
#include "Theme/SymbolLabel.h"
#include "Theme/ThemePalette.h"

#include "State/AppModel.h"
#include "Theme/Fonts.h"
#include "Theme/RoundedShape.h"
#include "Theme/Theme.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace {

constexpr int fieldHeight = 30;
constexpr int idealWidth = 210;
constexpr int smallestWidth = 110;

} // namespace

SearchField::SearchField(AppModel &model, QWidget *parent)
    : QWidget(parent),
      m_model(model),
      m_edit(new QLineEdit(this)),
      m_clear(new PlainButton({}, Fonts::system(12), Theme::ink3, this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 0, 10, 0);
    row->setSpacing(6);
    row->addWidget(new SymbolLabel(QStringLiteral("magnifyingglass"), 12, Theme::ink3, this));
    row->addWidget(m_edit, 1);
    row->addWidget(m_clear);

    m_edit->setFrame(false);
    m_edit->setFont(Fonts::body());
    m_edit->setPlaceholderText(tr("Search notes"));
    m_edit->setAccessibleName(tr("Search notes"));
    m_edit->installEventFilter(this);
    ThemePalette::follow(m_edit, {{QPalette::Text, Theme::ink},
                                  {QPalette::PlaceholderText, Theme::ink3},
                                  {QPalette::Base, Theme::card},
                                  {QPalette::Highlight, Theme::accent},
                                  {QPalette::HighlightedText, Theme::accentInk}});
    connect(m_edit, &QLineEdit::textEdited, &model, &AppModel::setQuery);

    m_clear->setSymbol(QStringLiteral("xmark.circle.fill"));
    m_clear->setAccessibleName(tr("Clear search"));
    m_clear->setFocusPolicy(Qt::NoFocus);
    connect(m_clear, &QAbstractButton::clicked, this, [this] { m_model.setQuery(QString()); });

    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMaximumWidth(idealWidth);
    connect(&model, &AppModel::queryChanged, this, &SearchField::refresh);
    refresh();
}

void SearchField::refresh()
{
    if (m_edit->text() != m_model.query())
        m_edit->setText(m_model.query());
    m_clear->setVisible(!m_model.query().isEmpty());
}

QSize SearchField::sizeHint() const
{
    return QSize(idealWidth, fieldHeight);
}

QSize SearchField::minimumSizeHint() const
{
    return QSize(smallestWidth, fieldHeight);
}

bool SearchField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Escape:
        m_model.setQuery(QString());
        m_edit->clearFocus();
        return true;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit resultsRequested();
        return true;
    default:
        return false;
    }
}

void SearchField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF capsule = rect();
    RoundedShape::fill(painter, capsule, RoundedShape::capsule(capsule), Theme::card.resolved(this));
    RoundedShape::strokeInside(painter, capsule, RoundedShape::capsule(capsule), Theme::hairline.resolved(this), 1);
}
