#include "gui/shell/reader_command_line.h"

#include <QCommandLineParser>

#include "core/base/build_info.h"

namespace qor::gui {

ReaderCommandLine parseReaderCommandLine(const QStringList& arguments, const QString& userGuide) {
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
