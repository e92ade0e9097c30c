#include "desktop_clicks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>

#include "core/options/search_options.h"
#include "gui/base/app_context.h"
#include "gui/options/multi_row_tabs.h"
#include "gui/options/options_dialog.h"
#include "gui/shell/main_actions.h"
#include "gui/shell/main_window.h"
#include "support/fake_desktop.h"
#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"
#include "support/window_opens.h"

namespace qor::bench {
namespace {

using scan::ElementType;

// A main window on a fresh settings store whose result folder is a temporary one.
struct FreshDesktop {
    QTemporaryDir results;
    output::Session session;
    testing::MemorySettingsStore store;
    testing::ScriptedUi boxes;
    testing::FakeDesktop desktop;
    SystemClock clock;
    gui::AppContext context{session, store, boxes, desktop, clock, {}, {}};
    std::unique_ptr<gui::MainWindow> window;

    explicit FreshDesktop(const QString& file) {
        store.setValue("Settings", "ScanResultFolderPath", results.path().toStdString());
        window = std::make_unique<gui::MainWindow>(context);
        window->show();
        testing::openedByPath(*window, file.toStdString());
    }

    // Runs `start` and the event loop until the work it started has finished; the time taken.
    qint64 runWork(const std::function<void()>& start) {
        QElapsedTimer timer;
        const QMetaObject::Connection ended = QObject::connect(
            window.get(), &gui::MainWindow::workFinished, qApp, [] { QApplication::quit(); });
        timer.start();
        start();
        if (window->busy()) {
            QApplication::exec();
        }
        QObject::disconnect(ended);
        return timer.elapsed();
    }
};

QString sectionOf(ElementType type) {
    return QString::fromUtf8(scan::elementType(type).settingsSection.data());
}

// Clicks of one path through the Options dialog, counted as a person makes them.
class ClickCounter {
public:
    int count = 0;

    void click(QAbstractButton* button) {
        if (button == nullptr) {
            std::fprintf(stderr, "qordesktopbench: a control to click is missing\n");
            std::exit(1);
        }
        ++count;
        // A check box takes clicks on its box and caption only, which start at its left.
        const QPoint at = qobject_cast<QCheckBox*>(button) != nullptr
                              ? QPoint(button->height() / 2, button->height() / 2)
                              : button->rect().center();
        QTest::mouseClick(button, Qt::LeftButton, {}, at);
    }
    // Brings the tab that holds `control` to the front with a click on it, unless it is there.
    void showTabOf(gui::MultiRowTabWidget& tabs, const QWidget* control) {
        for (int i = 0; i < tabs.count(); ++i) {
            if (tabs.widget(i)->isAncestorOf(control)) {
                if (tabs.currentIndex() != i) {
                    ++count;
                    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(i).center());
                }
                return;
            }
        }
    }
    void press(QAction* action) {
        ++count;
        action->trigger();
    }
};

template <typename T>
T* find(const QObject& dialog, const QString& name) {
    return dialog.findChild<T*>(name);
}

// The boxes a person ticks one by one: each type's "Enable Search", then every parameter box
// that is still clear (the DAT types have NAME only, which comes with "Enable Search").
void tickBoxByBox(gui::OptionsDialog& dialog, ClickCounter& clicks) {
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        const QString section = sectionOf(info.type);
        auto* enable = find<QAbstractButton>(dialog, section.chopped(10) + "EnableSearch");
        clicks.showTabOf(dialog.tabs(), enable);
        clicks.click(enable);
        for (std::size_t box = 1; box <= info.parameters.size(); ++box) {
            auto* parameter = find<QAbstractButton>(dialog, section + "_" + QString::number(box));
            if (parameter != nullptr && !parameter->isChecked()) {
                clicks.click(parameter);
            }
        }
    }
}

// "Enable All Types" on General Options, then "Select All" on each tab with parameters.
void tickWithAllButtons(gui::OptionsDialog& dialog, ClickCounter& clicks) {
    auto* enableAll = find<QAbstractButton>(dialog, "cmdEnableAllTypes");
    clicks.showTabOf(dialog.tabs(), enableAll);
    clicks.click(enableAll);
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        auto* selectAll = find<QAbstractButton>(
            dialog, "cmd" + sectionOf(info.type).chopped(10).mid(3) + "SelectAll");
        if (selectAll != nullptr) {
            clicks.showTabOf(dialog.tabs(), selectAll);
            clicks.click(selectAll);
        }
    }
}

bool everyTypeWithEveryParameter(const options::SearchOptions& options) {
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        const scan::TypeOptions& type = options.of(info.type);
        for (std::size_t box = 0; box < info.parameters.size(); ++box) {
            if (!type.enabled || !type.parameters[box]) {
                return false;
            }
        }
    }
    return true;
}

// One path from a fresh account: F3, the ticks, "OK", F2, "Scan Now" in Search Status.
// -1 when the path did not give a full scan.
int clicksOfPath(const QString& file,
                 const std::function<void(gui::OptionsDialog&, ClickCounter&)>& tick) {
    FreshDesktop fresh(file);
    ClickCounter clicks;
    fresh.desktop.onModal = [&](QDialog& dialog) {
        if (auto* options = qobject_cast<gui::OptionsDialog*>(&dialog)) {
            tick(*options, clicks);
            clicks.click(find<QAbstractButton>(dialog, "cmdOK"));
        } else if (dialog.objectName() == "frmSearchStatus") {
            clicks.click(find<QAbstractButton>(dialog, "cmdScanNow"));
        }
    };
    clicks.press(fresh.window->commands().options);
    if (!everyTypeWithEveryParameter(fresh.session.options)) {
        return -1;
    }
    fresh.runWork([&] { clicks.press(fresh.window->commands().scanFile); });
    const bool scanned = !fresh.session.lastScan.cancelled && fresh.boxes.errors.empty() &&
                         fresh.session.lastScan.typesWritten == scan::kElementTypeCount;
    return scanned ? clicks.count : -1;
}

}  // namespace

int countClicksToFullScan(const QString& file) {
    const int boxByBox = clicksOfPath(file, tickBoxByBox);
    const int withAll = clicksOfPath(file, tickWithAllButtons);
    std::printf(
        "clicks and keys from a fresh account to a scan of every type with every parameter: "
        "box by box %d, with the All buttons %d\n",
        boxByBox, withAll);
    return boxByBox > 0 && withAll > 0 ? 0 : 1;
}

int timeRescanKeepingAll(const QString& file) {
    FreshDesktop fresh(file);
    fresh.session.options.showSearchStatusDialog = false;
    fresh.session.options.scanResultFolderPath = fresh.results.path().toStdString();
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        scan::TypeOptions& type = fresh.session.options.of(info.type);
        type.enabled = true;
        for (std::size_t box = 0; box < info.parameters.size(); ++box) {
            type.parameters[box] = true;
        }
    }
    fresh.session.columns = options::buildAllColumnData(fresh.session.options);
    const qint64 first = fresh.runWork([&] { fresh.window->scanFile(); });
    const std::size_t firstQuestions = fresh.boxes.prompts.size();
    if (fresh.session.lastScan.typesWritten != scan::kElementTypeCount) {
        for (const Message& message : fresh.boxes.messages) {
            std::fprintf(stderr, "qordesktopbench: %s\n", message.text.c_str());
        }
        for (const StandardError& error : fresh.boxes.errors) {
            std::fprintf(stderr, "qordesktopbench: %s\n", error.description.c_str());
        }
        std::fprintf(stderr, "qordesktopbench: the first scan did not write every type\n");
        return 1;
    }
    fresh.boxes.answersForAll = {Answer::NoToAll};
    const qint64 again = fresh.runWork([&] { fresh.window->scanFile(); });
    std::printf(
        "first scan of every type: %lld ms, %zu questions; re-scan answered \"No to All\": "
        "%lld ms, %zu question(s), %s\n",
        static_cast<long long>(first), firstQuestions, static_cast<long long>(again),
        fresh.boxes.prompts.size() - firstQuestions,
        fresh.session.lastScan.typesWritten == 0 ? "nothing replaced" : "RESULTS REPLACED");
    return fresh.boxes.errors.empty() && fresh.session.lastScan.typesWritten == 0 ? 0 : 1;
}

}  // namespace qor::bench
