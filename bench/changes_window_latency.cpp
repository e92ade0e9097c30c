// How quickly the window of changes answers with a large comparison: qorchangesbench generates an
// export and an edited copy (about 100 000 changes with the defaults), compares them through the
// main window's "Compare With..." and times, each with the table repainted: the first paint of
// the window, sorting by every column both ways, and filtering by type, kind and text.
//     build/release/bench/qorchangesbench [--size MB] [--per-mille N] [--dir DIR]
// With --elements it times the Elements window instead (elements_window_latency.h).
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "elements_window_latency.h"
#include "export_edits.h"
#include "export_generator.h"
#include "gui/base/app_context.h"
#include "gui/compare/changes_table_model.h"
#include "gui/compare/comparison_window.h"
#include "gui/shell/main_window.h"
#include "support/fake_desktop.h"
#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"
#include "support/window_opens.h"

namespace {

// Notes whether a widget was painted since it was last reset.
class PaintWatch : public QObject {
    Q_OBJECT

public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return false;
    }
};

QString option(const QStringList& arguments, const QString& name, const QString& fallback) {
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.contains("--elements")) {
        return runElementsBench(arguments);
    }
    const int megabytes = option(arguments, "--size", "50").toInt();
    const unsigned perMille = option(arguments, "--per-mille", "110").toUInt();
    QTemporaryDir work(option(arguments, "--dir", QDir::tempPath()) + "/qorchangesbench-XXXXXX");
    const std::string oldPath = (work.path() + "/old.qor").toStdString();
    const std::string newPath = (work.path() + "/new.qor").toStdString();
    qor::gen::GeneratorOptions generator;
    generator.targetBytes = static_cast<std::uint64_t>(megabytes) << 20;
    qor::gen::generateExportFile(generator, oldPath);
    qor::gen::writeEditedCopy(oldPath, newPath, 7, perMille);

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
    if (!qor::testing::openedByPath(window, newPath)) {
        return 1;
    }
    desktop.chosenFiles = {oldPath};

    QElapsedTimer timer;
    QEventLoop comparing;
    QObject::connect(&window, &qor::gui::MainWindow::workFinished, &comparing, &QEventLoop::quit);
    timer.start();
    window.commands().compare->trigger();
    if (window.busy()) {
        comparing.exec();
    }
    const qint64 compared = timer.elapsed();
    qor::gui::ComparisonWindow* changes = nullptr;
    for (QMdiSubWindow* child : window.documents().subWindowList()) {
        if (auto* found = dynamic_cast<qor::gui::ComparisonWindow*>(child->widget())) {
            changes = found;
        }
    }
    if (changes == nullptr) {
        std::fprintf(stderr, "no window of changes (%zu errors reported)\n", boxes.errors.size());
        return 1;
    }
    QWidget* viewport = changes->changesTable().viewport();
    PaintWatch watch;
    viewport->installEventFilter(&watch);
    timer.restart();
    while (!watch.painted) {
        QApplication::processEvents();
    }
    const qint64 firstPaint = timer.elapsed();
    const auto total = static_cast<unsigned long long>(changes->comparison().changes.size());
    std::printf(
        "%d MiB exports, %llu changes: compared and window built in %lld ms, first paint "
        "%lld ms later\n",
        megabytes, total, static_cast<long long>(compared), static_cast<long long>(firstPaint));

    // Each step, then a repaint of the table, timed together.
    const auto timed = [&](const char* what, const std::function<void()>& step) {
        timer.restart();
        step();
        viewport->repaint();
        std::printf("  %-34s %6lld ms  %7d rows\n", what, static_cast<long long>(timer.elapsed()),
                    changes->changesModel().rowCount());
    };
    const char* const columns[] = {"type", "designation", "change", "parameter", "old", "new"};
    for (int column = 0; column < qor::gui::ChangesTableModel::kColumnCount; ++column) {
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            const std::string what = std::string("sort by ") + columns[column] +
                                     (order == Qt::AscendingOrder ? ", up" : ", down");
            timed(what.c_str(), [&] { changes->changesTable().sortByColumn(column, order); });
        }
    }
    auto* type = changes->findChild<QComboBox*>("cboType");
    auto* kind = changes->findChild<QComboBox*>("cboKind");
    auto* text = changes->findChild<QLineEdit*>("txtSearch");
    timed("filter type DI", [&] { type->setCurrentText("DI"); });
    timed("filter kind changed", [&] { kind->setCurrentText("changed"); });
    timed("filter all types again", [&] { type->setCurrentText("All types"); });
    timed("search \"1\" (one key)", [&] { text->setText("1"); });
    timed("search \"17\" (two keys)", [&] { text->setText("17"); });
    timed("search \"no such text\"", [&] { text->setText("no such text"); });
    timed("clear search and kind", [&] {
        text->clear();
        kind->setCurrentText("All changes");
    });
    timed("scroll to the end", [&] { changes->changesTable().scrollToBottom(); });
    return 0;
}

#include "changes_window_latency.moc"
