#include "DisplayLoss.h"

#include "Platform/X11.h"

#include <QCoreApplication>
#include <QThread>
#include <utility>

namespace {

// Read by the message handler, which Qt calls as a plain function.
QtMessageHandler previousHandler = nullptr;
std::function<void()> lastWords;

bool displayBroken()
{
    xcb_connection_t *connection = X11::connection();
    return connection && xcb_connection_has_error(connection);
}

// Every message goes on to the handler before; a warning on the main thread is the moment to look at
// the connection, since Qt warns just before it ends the process.
void onMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (previousHandler)
        previousHandler(type, context, message);
    if (type != QtWarningMsg || !lastWords || QThread::currentThread() != qApp->thread() || !displayBroken())
        return;
    const std::function<void()> words = std::exchange(lastWords, nullptr);
    words();
}

} // namespace

DisplayLoss::DisplayLoss(std::function<void()> words)
{
    lastWords = std::move(words);
    previousHandler = qInstallMessageHandler(onMessage);
}

DisplayLoss::~DisplayLoss()
{
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;
    lastWords = nullptr;
}
