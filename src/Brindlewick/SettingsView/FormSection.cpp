#include "FormSection.h"

#include "Theme/CardStyle.h"
#include "Theme/Fonts.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

constexpr int cardPadding = 12;
constexpr int rowSpacing = 10;
constexpr int headerSpacing = 6;

ThemeLabel *caption(const QString &text)
{
    return new ThemeLabel(text, Fonts::caption(), Theme::ink2, 0);
}

} // namespace

FormSection::FormSection(const QString &header, QWidget *parent)
    : QWidget(parent), m_rows(new QVBoxLayout), m_column(new QVBoxLayout(this))
{
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(headerSpacing);
    if (!header.isEmpty())
        m_column->addWidget(new ThemeLabel(header, Fonts::bodyMedium(), Theme::ink2));
    auto *rows = new QWidget;
    rows->setLayout(m_rows);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(rowSpacing);
    m_column->addWidget(card(rows, cardPadding));
}

void FormSection::addRow(QWidget *row)
{
    m_rows->addWidget(row);
}

QWidget *FormSection::addLabelledRow(const QString &label, QWidget *control)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *name = new ThemeLabel(label, Fonts::body(), Theme::ink);
    control->setAccessibleName(label);
    layout->addWidget(name);
    layout->addStretch();
    layout->addWidget(control);
    addRow(row);
    return row;
}

void FormSection::addCaption(const QString &text)
{
    addRow(caption(text));
}

void FormSection::setFooter(const QString &text)
{
    m_column->addWidget(caption(text));
}
