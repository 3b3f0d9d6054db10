#include "CommandLine.h"

#include "Autostart.h"

#include "BundleInfo.h"

#include <QCommandLineParser>
#include <QObject>
#include <algorithm>

namespace {

// The options the application object takes out for itself (QGuiApplication, QApplication and the X11
// platform), with one dash or two; those of the second list are followed by their value.
const QStringList qtFlags{"reverse", "testability", "widgetcount", "nograb", "dograb", "qdevel", "qdebug"};
const QStringList qtOptionsWithValue{"platform", "platformpluginpath", "platformtheme", "plugin",
                                     "qwindowgeometry", "geometry", "qwindowtitle", "title",
                                     "qwindowicon", "icon", "session", "style", "stylesheet",
                                     "display", "name", "visual", "qmljsdebugger"};
// These also take their value joined: "-style=fusion".
const QStringList qtOptionsWithJoinedValue{"style=", "stylesheet=", "qmljsdebugger="};

// "platform" for "-platform" and "--platform"; empty for a word that is no option.
QString optionName(const QString &argument)
{
    if (argument.startsWith(QLatin1String("--")))
        return argument.mid(2);
    return argument.startsWith(u'-') ? argument.mid(1) : QString();
}

bool isQtFlag(const QString &name)
{
    return qtFlags.contains(name) || std::any_of(qtOptionsWithJoinedValue.begin(), qtOptionsWithJoinedValue.end(),
                                                 [&](const QString &prefix) { return name.startsWith(prefix); });
}

// The arguments without Qt's options; the Qt options the start needs to know go into `line`.
QStringList withoutQtOptions(const QStringList &arguments, CommandLine &line)
{
    QStringList ours(arguments.mid(0, 1));
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString name = optionName(arguments[i]);
        if (isQtFlag(name))
            continue;
        if (!qtOptionsWithValue.contains(name)) {
            ours.append(arguments[i]);
            continue;
        }
        if (++i == arguments.size())
            break;
        if (name == QLatin1String("platform"))
            line.platformChosen = true;
        else if (name == QLatin1String("display"))
            line.display = arguments[i];
    }
    return ours;
}

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
    CommandLine line;
    QCommandLineParser parser;
    addOptions(parser);
    const bool understood = parser.parse(withoutQtOptions(arguments, line));
    line.atLogin = parser.isSet(Autostart::argument.mid(2));
    if (parser.isSet(QStringLiteral("help")))
        line.ask = Ask::help;
    else if (parser.isSet(QStringLiteral("version")))
        line.ask = Ask::version;
    else if (!understood) {
        line.ask = Ask::wrong;
        line.error = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        line.ask = Ask::wrong;
        line.error = QObject::tr("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
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
