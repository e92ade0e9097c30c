// The desktop seam as the program uses it: a file or page the desktop's opener cannot show is
// said, naming it whole for the user to open by hand; a message box keeps such a path unbroken.
#include <QFile>
#include <QFontMetrics>
#include <QtTest>
#include <filesystem>

#include "gui/base/message_box_ui.h"
#include "gui/base/qt_desktop.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

class QtDesktopTest : public QObject {
    Q_OBJECT

private slots:
    // xdg-open stands in for the desktop's opener: it starts, then finds a program or none.
    void aFailedOpenIsSaidWithThePath_data() {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("page");
        QTest::newRow("file opened") << 0 << false;
        QTest::newRow("no program for the file") << 3 << false;
        QTest::newRow("no browser for the guide") << 4 << true;
    }
    void aFailedOpenIsSaidWithThePath() {
#ifdef _WIN32
        QSKIP("the opener here is the shell's, not a program on the PATH");
#endif
        QFETCH(int, exitCode);
        QFETCH(bool, page);
        qor::testing::TempDir folder;
        std::filesystem::create_directories(folder.file("bin"));
        const std::string opener =
            // Written whole before it is there to be seen: the test reads it as soon as it is.
            folder.write(
                "bin/xdg-open",
                "#!/bin/sh\necho \"$1\" > \"$0.part\" && mv \"$0.part\" \"$0.seen\"\nexit " +
                    std::to_string(exitCode) + "\n");
        QFile::setPermissions(QString::fromStdString(opener),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(folder.file("bin")) + ":" + path);
        qor::testing::ScriptedUi ui;
        qor::gui::QtDesktop desktop(ui);
        const std::string guide = folder.file("Guide Folder/C:index.html");
        const bool started =
            page ? desktop.openUrl("file://" + guide) : desktop.openWithApplication(guide);
        qputenv("PATH", path);
        QVERIFY(started);
        QTRY_VERIFY(QFile::exists(QString::fromStdString(opener + ".seen")));
        QCOMPARE(qor::testing::readFile(opener + ".seen"), guide + "\n");
        QTRY_COMPARE(desktop.openersRunning(), 0);
        if (exitCode == 0) {
            QVERIFY(ui.messages.empty());
            return;
        }
        QCOMPARE(ui.messages.size(), std::size_t{1});
        // The path on a line of its own, whole.
        QVERIFY2(ui.messages[0].text.ends_with("\r\n" + guide), ui.messages[0].text.c_str());
    }

    // Only lines that name a file are kept whole, and never wider than allowed.
    void pathLinesAreNotBroken() {
        const QFontMetrics metrics(QFont("DejaVu Sans", 9));
        const QString path = "C:\\Users\\Anna Maria\\Documents\\QOR Reader\\docs\\index.html";
        const QString text = "No program could be started to open it. Open it by hand:\r\n" + path;
        QCOMPARE(qor::gui::unbrokenPathWidth(text, metrics, 10000),
                 metrics.horizontalAdvance(path) + 1);
        QCOMPARE(qor::gui::unbrokenPathWidth(text, metrics, 100), 100);
        QCOMPARE(qor::gui::unbrokenPathWidth("No path here at all.", metrics, 10000), 0);
    }
};

QTEST_MAIN(QtDesktopTest)
#include "qt_desktop_qtest.moc"
