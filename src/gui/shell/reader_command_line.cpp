#include "gui/shell/reader_command_line.h"

#include <QCommandLineParser>

#include "core/base/build_info.h"

namespace qor::gui {
namespace {

// The options QCoreApplication, QGuiApplication, QApplication and the X11 platform read from
// the command line, with one or two leading dashes; those with a value take the next word, or
// "=value" where noted.
const QStringList kQtOptionsWithValue = {"platform",
                                         "platformpluginpath",
                                         "platformtheme",
                                         "plugin",
                                         "qwindowgeometry",
                                         "geometry",
                                         "qwindowtitle",
                                         "title",
                                         "qwindowicon",
                                         "icon",
                                         "display",
                                         "name",
                                         "style",
                                         "stylesheet",
                                         "session",
                                         "visual",
                                         "ncols",
                                         "cmap",
                                         "im"};
const QStringList kQtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
const QStringList kQtOptionsWithEquals = {"style", "stylesheet", "qmljsdebugger"};

// The arguments without Qt's options: a "-reverse" would otherwise be read as -r -e -v ...
// (the version), "-stylesheet" as -s -t -y -l -e -s -h ... (the help).
QStringList withoutQtOptions(const QStringList& arguments) {
    QStringList ours;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (i == 0 || !argument.startsWith('-')) {
            ours << argument;
            continue;
        }
        const QString name = argument.mid(argument.startsWith("--") ? 2 : 1);
        if (kQtFlags.contains(name)) {
            continue;
        }
        if (kQtOptionsWithValue.contains(name)) {
            ++i;  // its value
            continue;
        }
        if (kQtOptionsWithEquals.contains(name.section('=', 0, 0)) && name.contains('=')) {
            continue;
        }
        ours << argument;
    }
    return ours;
}

}  // namespace

ReaderCommandLine parseReaderCommandLine(const QStringList& givenArguments,
                                         const QString& userGuide) {
    const QStringList arguments = withoutQtOptions(givenArguments);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a node database export (*.qor) with the node's number, description "
                       "and export date,\nand scans it for its elements into CSV files, "
                       "workbooks or an HTML report.\n\nUser guide: %1")
            .arg(userGuide.isEmpty() ? QStringLiteral("not installed") : userGuide));
    // Options of its own rather than Qt's, whose --help-all would need a running application.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and stop."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and stop."));
    parser.addOptions({help, version});
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("An export file to open at start."),
                                 QStringLiteral("[FILE.qor]"));
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        return {ReaderCommandLine::Action::Help, {}, parser.helpText()};
    }
    if (parser.isSet(version)) {
        return {
            ReaderCommandLine::Action::Version,
            {},
            QStringLiteral("qorreader (QOR Reader) %1\n").arg(QString::fromUtf8(build::kVersion))};
    }
    if (!parsed) {
        return {ReaderCommandLine::Action::Error, {}, parser.errorText()};
    }
    return {
        ReaderCommandLine::Action::Run, parser.positionalArguments().join(QLatin1Char(' ')), {}};
}

}  // namespace qor::gui
