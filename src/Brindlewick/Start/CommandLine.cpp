#include "CommandLine.h"

#include "Autostart.h"

#include "BundleInfo.h"

#include <QCommandLineParser>
#include <QObject>

namespace {

// Written as a person expects: "--autostart", and "-autostart" or "-help" as Qt's own options are.
void addOptions(QCommandLineParser &parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QObject::tr(
        "Sticky notes with countdown timers and deadlines.\n"
        "Notes are kept in $BRINDLEWICK_DATA_DIR, else in $XDG_DATA_HOME/Brindlewick (~/.local/share/Brindlewick).\n"
        "Started again while it runs, Brindlewick brings up \"All Notes\" in the running program."));
    parser.addOption(QCommandLineOption(Autostart::argument.mid(2),
                                        QObject::tr("Start as the desktop session does: show the notes and open no "
                                                    "other window.")));
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QObject::tr("Show these options and exit.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                        QObject::tr("Show the version and exit.")));
}

} // namespace

CommandLine CommandLine::read(const QStringList &arguments)
{
    QCommandLineParser parser;
    addOptions(parser);
    const bool understood = parser.parse(arguments);
    CommandLine line;
    line.atLogin = parser.isSet(Autostart::argument.mid(2));
    if (parser.isSet(QStringLiteral("help")))
        line.ask = Ask::help;
    else if (parser.isSet(QStringLiteral("version")))
        line.ask = Ask::version;
    else if (!understood) {
        line.ask = Ask::wrong;
        line.error = parser.errorText();
    }
    return line;
}

QString CommandLine::help()
{
    QCommandLineParser parser;
    addOptions(parser);
    return parser.helpText();
}

QString CommandLine::version()
{
    const BundleInfo info = BundleInfo::current();
    return QStringLiteral("%1 %2").arg(info.name, info.version);
}
