// Long work off the window's thread: the job runs elsewhere while the loop goes on, what it
// says arrives before its end, a question waits for its answer, a cancel and an error reach
// the other side, and a runner that goes while its job waits on a question answers it No
// instead of hanging.
#include <QtTest>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "gui/scan/background_work.h"
#include "support/scripted_ui.h"

using qor::UserInterface;
using qor::gui::BackgroundWork;
using qor::testing::ScriptedUi;

class BackgroundWorkTest : public QObject {
    Q_OBJECT

private slots:
    void jobsTalkThroughTheDisplayAndEndInTheLoop() {
        ScriptedUi display;
        display.answers = {true};
        BackgroundWork work(display);
        bool answer = false;
        std::thread::id jobThread;
        std::vector<std::string> shownAtTheEnd;
        QVERIFY(work.start(
            [&](UserInterface& ui) {
                jobThread = std::this_thread::get_id();
                ui.setStatus("asking");
                answer = ui.askYesNo({"title", "question?"});
                ui.setStatus("answered");
                ui.setProgress(5, 10);
            },
            [&](std::exception_ptr) { shownAtTheEnd = display.statusTexts; }));
        QVERIFY(!work.start([](UserInterface&) {}, [](std::exception_ptr) {}));  // one at a time
        QVERIFY(QTest::qWaitFor([&] { return !work.running(); }));
        QVERIFY(answer && jobThread != std::this_thread::get_id());
        QCOMPARE(shownAtTheEnd, (std::vector<std::string>{"asking", "answered"}));
        QCOMPARE(display.lastProgressValue, 5LL);

        // The next job sees the cancel; what it throws comes back.
        std::exception_ptr ended;
        work.start(
            [](UserInterface& ui) {
                while (!ui.cancelRequested()) {
                    std::this_thread::yield();
                }
                throw std::runtime_error("stopped");
            },
            [&](std::exception_ptr error) { ended = error; });
        QVERIFY(work.cancel() && !work.cancel());  // asked once
        QVERIFY(QTest::qWaitFor([&] { return !work.running(); }));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, std::rethrow_exception(ended));
        QVERIFY(!work.cancel());
    }

    void goingWhileTheJobWaitsOnAQuestionAnswersNo() {
        ScriptedUi display;
        display.defaultAnswer = true;
        std::atomic<bool> asking{false};
        std::atomic<int> answer{-1};
        bool doneCalled = false;
        {
            BackgroundWork work(display);
            work.start(
                [&](UserInterface& ui) {
                    asking = true;
                    answer = ui.askYesNo({"title", "question?"}) ? 1 : 0;
                    ui.inform({"title", "dropped"});
                    while (!ui.cancelRequested()) {
                        std::this_thread::yield();
                    }
                },
                [&](std::exception_ptr) { doneCalled = true; });
            // The loop never runs meanwhile, so the question is not answered from here.
            while (!work.waitingForAnswer()) {
                std::this_thread::yield();
            }
            QVERIFY(asking);
        }
        QCoreApplication::processEvents();
        QCOMPARE(answer.load(), 0);
        QVERIFY(display.prompts.empty() && display.messages.empty() && !doneCalled);
    }
};

QTEST_MAIN(BackgroundWorkTest)
#include "background_work_qtest.moc"
