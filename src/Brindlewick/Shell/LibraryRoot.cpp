#include "LibraryRoot.h"

#include "LibraryView/LibraryView.h"
#include "State/AppModel.h"
#include "Welcome/WelcomeView.h"

#include <QGridLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// Dims the library and holds the welcome in its middle. Clicks on it go nowhere.
class WelcomeSheet : public QWidget {
public:
    WelcomeSheet(AppModel &model, QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_NoMousePropagation);
        auto *layout = new QGridLayout(this);
        auto *welcome = new WelcomeView(model, 0, true, std::nullopt, this);
        layout->addWidget(welcome, 0, 0, Qt::AlignCenter);
        setFocusProxy(welcome);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 0, 0, 64));
    }
};

} // namespace

LibraryRoot::LibraryRoot(AppModel &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_library(new LibraryView(model, this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_library);
    connect(&m_model, &AppModel::showWelcomeChanged, this, &LibraryRoot::followWelcome);
    followWelcome();
}

void LibraryRoot::followWelcome()
{
    const bool pending = m_model.showWelcome();
    m_library->setEnabled(!pending);
    if (pending == (m_sheet != nullptr))
        return;
    if (!pending) {
        // The welcome's own button finished it: the sheet goes once that click is handled.
        m_sheet->hide();
        m_sheet->deleteLater();
        m_sheet = nullptr;
        return;
    }
    m_sheet = new WelcomeSheet(m_model, this);
    m_sheet->setGeometry(rect());
    m_sheet->show();
    m_sheet->setFocus();
}

void LibraryRoot::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_sheet)
        m_sheet->setGeometry(rect());
}
