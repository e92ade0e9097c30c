// How quickly the Elements window answers: `qorchangesbench --elements` generates an export
// (100 MB by default, about 600 000 elements), opens it in the desktop application and times,
// each until the table shows the result and is repainted: Ctrl+E to the table painted, filter
// keystrokes over every element, sorting by parameters (numbers and text), by the designation
// and by the type, and switching the type, with and without a filter. With `--plant N` it
// then writes N exports of `--plant-size` MB into one folder and times "Open Folder..." on them
// and a designation typed into the filter. Memory is the process's resident size before and
// after each load; `wc -l` runs over the same files in the same run, for scale.
#include "elements_window_latency.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <ctime>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <functional>
#include <thread>
#include <vector>

#include "core/elements/element_table.h"
#include "export_generator.h"
#include "gui/base/app_context.h"
#include "gui/elements/elements_table_model.h"
#include "gui/elements/elements_window.h"
#include "gui/shell/main_window.h"
#include "support/fake_desktop.h"
#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"
#include "support/window_opens.h"

namespace {

QString option(const QStringList& arguments, const QString& name, const QString& fallback) {
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : fallback;
}

// The process's resident memory now, in MiB (VmRSS of /proc/self/status).
double residentMiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
        }
    }
    return 0;
}

// Bytes the allocator has handed out and not had back, in MiB (0 where that is not known).
double heapInUseMiB() {
#if defined(__GLIBC__) && __GLIBC_PREREQ(2, 33)
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1 << 20);
#else
    return 0;
#endif
}

// `wc -l` over the files, in milliseconds.
qint64 timeWc(const QStringList& files) {
    QElapsedTimer timer;
    timer.start();
    QProcess wc;
    wc.setStandardOutputFile(QProcess::nullDevice());
    wc.start("wc", QStringList{"-l"} + files);
    wc.waitForFinished(-1);
    return timer.elapsed();
}

// Keeps `count` threads busy until it goes, so that the figures show a machine at work.
class Spinners {
public:
    explicit Spinners(unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            threads_.emplace_back([this] {
                volatile unsigned long long sink = 0;
                while (!stop_.load(std::memory_order_relaxed)) {
                    sink = sink + 1;
                }
            });
        }
    }
    ~Spinners() {
        stop_ = true;
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

// The Elements window a command opened: waits for the load and for the table's first paint;
// the milliseconds from the command on, or -1 when no window came.
qint64 timeToPaint(qor::gui::MainWindow& window, QAction& command,
                   qor::gui::ElementsWindow*& opened, qint64& loaded) {
    const auto before = window.documents().subWindowList();
    QElapsedTimer timer;
    QEventLoop loading;
    QObject::connect(&window, &qor::gui::MainWindow::workFinished, &loading, &QEventLoop::quit);
    timer.start();
    command.trigger();
    if (window.busy()) {
        loading.exec();
    }
    loaded = timer.elapsed();
    opened = nullptr;
    for (QMdiSubWindow* child : window.documents().subWindowList()) {
        if (auto* found = dynamic_cast<qor::gui::ElementsWindow*>(child->widget());
            found != nullptr && !before.contains(child)) {
            opened = found;
        }
    }
    if (opened == nullptr) {
        return -1;
    }
    // Painted from the event loop, as a person would see it.
    QApplication::processEvents();
    opened->elementsTable().viewport()->repaint();
    return timer.elapsed();
}

// Processor time of the whole process (every thread), in milliseconds.
double processorMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Each step, until the table shows its rows (work off the window's thread included), then a
// repaint of the table, timed together; beside it when the window's thread was free to answer
// input again (a zero timer posted at the step's start fires), and the processor time.
void timed(qor::gui::ElementsWindow& elements, const char* what,
           const std::function<void()>& step) {
    qor::gui::ElementsTableModel& model = elements.elementsModel();
    QElapsedTimer timer;
    qint64 answered = -1;
    QTimer::singleShot(0, &elements, [&] { answered = timer.elapsed(); });
    const double processor = processorMs();
    timer.start();
    step();
    if (model.busy()) {
        QEventLoop shown;
        QObject::connect(&model, &qor::gui::ElementsTableModel::rowsShown, &shown,
                         &QEventLoop::quit);
        shown.exec();
    }
    elements.elementsTable().viewport()->repaint();
    const qint64 painted = timer.elapsed();
    const double used = processorMs() - processor;
    QApplication::processEvents();  // the zero timer, when no event loop ran meanwhile
    std::printf(
        "  %-40s %6lld ms  (answering after %4lld ms, processor %6.0f ms)  %7d of %d rows\n", what,
        static_cast<long long>(painted), static_cast<long long>(answered), used, model.rowCount(),
        model.elementCount());
}

void typeKeystrokes(qor::gui::ElementsWindow& elements, const QString& text) {
    auto* filter = elements.findChild<QLineEdit*>("txtFilter");
    for (qsizetype length = 1; length <= text.size(); ++length) {
        const QString typed = text.left(length);
        const std::string what = "type \"" + typed.toStdString() + "\"";
        timed(elements, what.c_str(), [&] { filter->setText(typed); });
    }
}

void clearFilter(qor::gui::ElementsWindow& elements) {
    auto* filter = elements.findChild<QLineEdit*>("txtFilter");
    timed(elements, "clear the filter", [&] { filter->clear(); });
}

void sortBy(qor::gui::ElementsWindow& elements, const QString& heading) {
    const qor::gui::ElementsTableModel& model = elements.elementsModel();
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.heading(column) != heading) {
            continue;
        }
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            const std::string what = "sort by " + heading.toStdString() +
                                     (order == Qt::AscendingOrder ? ", up" : ", down");
            timed(elements, what.c_str(),
                  [&] { elements.elementsTable().sortByColumn(column, order); });
        }
    }
}

void switchTypes(qor::gui::ElementsWindow& elements) {
    timed(elements, "type AI", [&] { elements.chooseType(qor::scan::ElementType::AI); });
    timed(elements, "all types", [&] { elements.chooseType(std::nullopt); });
}

}  // namespace

int runElementsBench(const QStringList& arguments) {
    const int megabytes = option(arguments, "--size", "100").toInt();
    const int plantFiles = option(arguments, "--plant", "0").toInt();
    const int plantMegabytes = option(arguments, "--plant-size", "5").toInt();
    unsigned busy = 0;
    if (arguments.contains("--busy")) {
        busy = option(arguments, "--busy", "0").toUInt();
        busy = busy == 0 ? std::max(1u, std::thread::hardware_concurrency()) : busy;
    }
    QTemporaryDir work(option(arguments, "--dir", QDir::tempPath()) + "/qorelementsbench-XXXXXX");
    const QString exportPath = work.path() + "/node.qor";
    qor::gen::GeneratorOptions generator;
    generator.targetBytes = static_cast<std::uint64_t>(megabytes) << 20;
    qor::gen::generateExportFile(generator, exportPath.toStdString());
    QStringList plant;
    if (plantFiles > 0) {
        QDir(work.path()).mkdir("plant");
        for (int i = 0; i < plantFiles; ++i) {
            qor::gen::GeneratorOptions node;
            node.seed = 100 + static_cast<std::uint64_t>(i);
            node.nodeNumber = std::to_string(i + 1);
            node.targetBytes = static_cast<std::uint64_t>(plantMegabytes) << 20;
            plant << QStringLiteral("%1/plant/node%2.qor")
                         .arg(work.path())
                         .arg(i + 1, 3, 10, QLatin1Char('0'));
            qor::gen::generateExportFile(node, plant.back().toStdString());
        }
    }

    qor::output::Session session;
    session.options.scanResultFolderPath = work.path().toStdString();
    qor::testing::MemorySettingsStore store;
    qor::testing::ScriptedUi boxes;
    qor::testing::FakeDesktop desktop;
    qor::SystemClock clock;
    qor::gui::AppContext context{session, store, boxes, desktop, clock, {}, {}};
    qor::gui::MainWindow window(context);
    window.resize(1280, 800);
    window.show();
    if (!qor::testing::openedByPath(window, exportPath.toStdString())) {
        return 1;
    }

    const Spinners spinners(busy);
    std::printf("%u busy threads\n", busy);
    const qint64 wc = timeWc({exportPath});
    const double before = residentMiB();
    const double heapBefore = heapInUseMiB();
    qor::gui::ElementsWindow* elements = nullptr;
    qint64 loaded = 0;
    const qint64 painted = timeToPaint(window, *window.commands().elements, elements, loaded);
    if (elements == nullptr) {
        std::fprintf(stderr, "no Elements window (%zu errors reported)\n", boxes.errors.size());
        return 1;
    }
    const double after = residentMiB();
    std::printf(
        "%d MiB export, %zu elements: Ctrl+E to the table painted %lld ms, of which loading "
        "%lld ms (wc -l %lld ms); resident +%.0f MiB (table %.0f MiB)\n",
        megabytes, elements->table().rowCount(), static_cast<long long>(painted),
        static_cast<long long>(loaded), static_cast<long long>(wc), after - before,
        static_cast<double>(elements->table().memoryBytes()) / (1 << 20));
    typeKeystrokes(*elements, "FT101");
    clearFilter(*elements);
    sortBy(*elements, "RANGEMAX");
    sortBy(*elements, "NAME");
    sortBy(*elements, "DESCR");
    sortBy(*elements, "Designation");
    sortBy(*elements, "Type");
    std::printf("  then sorted by NAME:\n");
    sortBy(*elements, "NAME");
    typeKeystrokes(*elements, "FT101");
    clearFilter(*elements);
    switchTypes(*elements);
    std::printf("  with the filter FT10:\n");
    typeKeystrokes(*elements, "FT10");
    switchTypes(*elements);
    clearFilter(*elements);
    timed(*elements, "scroll to the end", [&] { elements->elementsTable().scrollToBottom(); });
    std::printf("resident after the steps: +%.0f MiB since before Ctrl+E", residentMiB() - before);
#ifdef __GLIBC__
    // Worker threads leave freed memory in their arenas for reuse: what is in use tells the
    // window's own share.
    malloc_trim(0);
    std::printf(" (+%.0f MiB once trimmed; in use +%.0f MiB)", residentMiB() - before,
                heapInUseMiB() - heapBefore);
#endif
    std::printf("\n");

    if (!plant.isEmpty()) {
        desktop.chosenFolders = {(work.path() + "/plant").toStdString()};
        const qint64 plantWc = timeWc(plant);
        const double plantBefore = residentMiB();
        qor::gui::ElementsWindow* plantWindow = nullptr;
        qint64 plantLoaded = 0;
        const qint64 plantPainted =
            timeToPaint(window, *window.commands().openFolder, plantWindow, plantLoaded);
        if (plantWindow == nullptr) {
            std::fprintf(stderr, "no plant window (%zu errors reported)\n", boxes.errors.size());
            return 1;
        }
        std::printf(
            "plant of %lld exports x %d MiB, %zu elements: Open Folder to the table painted %lld "
            "ms, of which loading %lld ms (wc -l %lld ms); resident +%.0f MiB (table %.0f MiB)\n",
            static_cast<long long>(plant.size()), plantMegabytes, plantWindow->table().rowCount(),
            static_cast<long long>(plantPainted), static_cast<long long>(plantLoaded),
            static_cast<long long>(plantWc), residentMiB() - plantBefore,
            static_cast<double>(plantWindow->table().memoryBytes()) / (1 << 20));
        typeKeystrokes(*plantWindow, "AI800_1.1");
        clearFilter(*plantWindow);
        sortBy(*plantWindow, "Node");
    }
    return 0;
}
