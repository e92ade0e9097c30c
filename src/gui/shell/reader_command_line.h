#pragma once

#include <QString>
#include <QStringList>

namespace qor::gui {

// What qorreader's command line asks for: a document to open (the whole argument text, which
// the desktop may pass unquoted), or an answer on the terminal.
struct ReaderCommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString file;  // Run: the document to open; empty for none
    QString text;  // Help, Version: the answer; Error: what was wrong
};

// `arguments` begins with the program's name, as QCoreApplication::arguments() does. Qt's own
// options (-reverse, -stylesheet FILE, -platform NAME, ...), which QApplication takes from the
// same command line, are passed over with their values, before and after QApplication alike.
// The help ends with `userGuide`, the user guide's page (empty: not installed).
ReaderCommandLine parseReaderCommandLine(const QStringList& arguments, const QString& userGuide);

}  // namespace qor::gui
