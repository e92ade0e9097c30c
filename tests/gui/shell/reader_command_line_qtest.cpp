// qorreader's command line: the document to open, the terminal answers and mistakes, Qt's
// own options.
#include <QtTest>

#include "gui/shell/reader_command_line.h"

using qor::gui::parseReaderCommandLine;
using Action = qor::gui::ReaderCommandLine::Action;

class ReaderCommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void cases_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("file");  // Run: the document; otherwise a part of the text
        QTest::newRow("nothing") << QStringList{} << int(Action::Run) << "";
        // The desktop may pass a path with blanks unquoted: the words are one path.
        QTest::newRow("path in words")
            << QStringList{"/data/Node", "12.qor"} << int(Action::Run) << "/data/Node 12.qor";
        QTest::newRow("after --") << QStringList{"--", "-odd.qor"} << int(Action::Run)
                                  << "-odd.qor";
        QTest::newRow("help wins") << QStringList{"x.qor", "--bogus", "-h"} << int(Action::Help)
                                   << "User guide: /guide/index.html";
        QTest::newRow("version") << QStringList{"--version"} << int(Action::Version)
                                 << "qorreader (QOR Reader) ";
        QTest::newRow("unknown") << QStringList{"--bogus", "x.qor"} << int(Action::Error)
                                 << "bogus";
        // Qt's own options are Qt's, with their values: neither the version nor the help.
        QTest::newRow("qt options")
            << QStringList{"-reverse",       "-stylesheet", "dark.qss", "x.qor",
                           "--style=Fusion", "-platform",   "xcb"}
            << int(Action::Run) << "x.qor";
    }
    void cases() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, file);
        const auto line =
            parseReaderCommandLine(QStringList{"qorreader"} + arguments, "/guide/index.html");
        QCOMPARE(int(line.action), action);
        if (line.action == Action::Run) {
            QCOMPARE(line.file, file);
        } else {
            QVERIFY2(line.text.contains(file), qPrintable(line.text));
        }
    }
};

QTEST_APPLESS_MAIN(ReaderCommandLineTest)
#include "reader_command_line_qtest.moc"
