#include "LibraryWindow.h"

#include "Platform/KeyWindow.h"
#include "State/AppModel.h"
#include "LibraryRoot.h"
#include "LibraryView/Inspector.h"
#include "LibraryView/LibraryView.h"
#include "WindowFrame.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <utility>

const QString LibraryWindow::frameKey = QStringLiteral("windowFrame.AllNotes");

LibraryWindow::LibraryWindow(AppModel &model, QObject *parent) : QObject(parent), m_model(model)
{
    connect(qApp, &QCoreApplication::aboutToQuit, this, &LibraryWindow::rememberFrame);
}

LibraryWindow::~LibraryWindow()
{
    delete std::exchange(m_window, nullptr);
}

LibraryWindow &LibraryWindow::shared()
{
    static LibraryWindow *const library = new LibraryWindow(AppModel::shared());
    return *library;
}

void LibraryWindow::bringForward()
{
    if (!m_window)
        make();
    KeyWindow::bringForward(*m_window);
}

void LibraryWindow::setMenus(const QList<QMenu *> &menus)
{
    m_menus = menus;
    if (m_window)
        addMenus();
}

// Centred at first; a frame remembered from an earlier run then wins.
void LibraryWindow::make()
{
    m_window = new QMainWindow;
    m_window->setWindowTitle(tr("All Notes"));
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    auto *root = new LibraryRoot(m_model);
    root->setMinimumSize(minimumSize);
    m_window->setCentralWidget(root);
    addMenus();
    m_window->resize(initialSize.width(), initialSize.height() + m_window->menuBar()->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = m_window->geometry();
        frame.moveCenter(screen->availableGeometry().center());
        m_window->move(frame.topLeft());
    }
    restoreFrame();
    new QShortcut(QKeySequence::Close, m_window, m_window, &QWidget::close);
    new QShortcut(QKeySequence(Qt::Key_F10), m_window, this, &LibraryWindow::openFirstMenu);
    m_window->installEventFilter(this);
}

bool LibraryWindow::openPicker(PopoverRequest::Kind kind)
{
    const auto *library = m_window ? m_window->findChild<LibraryView *>() : nullptr;
    return library && library->isEnabled() && library->inspector()->openPicker(kind);
}

void LibraryWindow::addMenus()
{
    QMenuBar *bar = m_window->menuBar();
    bar->clear();
    for (QMenu *menu : std::as_const(m_menus))
        bar->addMenu(menu);
}

// As F10 does in desktop programs on Linux.
void LibraryWindow::openFirstMenu()
{
    QMenuBar *bar = m_window->menuBar();
    if (!bar->actions().isEmpty())
        bar->setActiveAction(bar->actions().first());
}

bool LibraryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Hide)
        rememberFrame();
    return QObject::eventFilter(watched, event);
}

void LibraryWindow::rememberFrame()
{
    if (m_window)
        WindowFrame::remember(*m_window, m_model.defaults(), frameKey);
}

void LibraryWindow::restoreFrame()
{
    WindowFrame::restore(*m_window, m_model.defaults(), frameKey);
}
