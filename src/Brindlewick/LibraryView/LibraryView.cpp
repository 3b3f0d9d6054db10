#include "LibraryView.h"

#include "BannerView.h"
#include "Theme/Hairline.h"
#include "Inspector.h"
#include "NoteGrid.h"
#include "Sidebar.h"

#include "Theme/Theme.h"

#include <QHBoxLayout>
#include <QPainter>

LibraryView::LibraryView(AppModel &model, QWidget *parent)
    : QWidget(parent),
      m_sidebar(new Sidebar(model, this)),
      m_grid(new NoteGrid(model, this)),
      m_inspector(new Inspector(model, this)),
      m_banner(new BannerView(model, this))
{
    m_sidebar->setFixedWidth(sidebarWidth);
    m_grid->setMinimumWidth(gridMinimumWidth);
    m_inspector->setFixedWidth(inspectorWidth);

    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(m_sidebar);
    columns->addWidget(new Hairline(Qt::Vertical, this));
    columns->addWidget(m_grid, 1);
    columns->addWidget(new Hairline(Qt::Vertical, this));
    columns->addWidget(m_inspector);
    m_banner->raise();
}

void LibraryView::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Theme::desk.resolved(this));
}
