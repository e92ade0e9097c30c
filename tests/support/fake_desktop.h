#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QDialog>

#include "gui/base/desktop.h"

namespace qor::testing {

// A Desktop that answers file dialogs from a script, records what would have been started
// and, instead of waiting on a modal dialog, hands it to `onModal` (which may click its
// buttons) and returns the dialog's result.
class FakeDesktop : public gui::Desktop {
public:
    struct DialogCall {
        std::vector<gui::FileFilter> filters;
        std::string title;
        std::string folder;  // the offered path of a save dialog
        std::string defaultSuffix;
    };

    std::deque<std::string> chosenFiles;    // answers of the coming open-file dialogs
    std::deque<std::string> chosenFolders;  // answers of the coming folder dialogs
    // Answers of the coming save-file dialogs ("" cancels); with none left, the offered path
    // is taken as it is, as Enter would.
    std::deque<std::string> chosenSaveFiles;
    std::vector<DialogCall> dialogCalls;
    std::vector<std::string> executed;  // openWithApplication paths
    std::vector<std::string> urls;
    std::vector<std::string> modalTitles;  // window titles of the modal dialogs shown
    std::function<void(QDialog&)> onModal;
    bool startSucceeds = true;

    // The next of the scripted answers, or `otherwise` when none is left.
    static std::string next(std::deque<std::string>& answers, std::string otherwise) {
        if (answers.empty()) {
            return otherwise;
        }
        std::string answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    std::string chooseFolder(QWidget*, const std::string&, const std::string&) override {
        return next(chosenFolders, {});
    }
    std::string chooseFileToSave(QWidget*, const std::vector<gui::FileFilter>& filters,
                                 const std::string& title, const std::string& path,
                                 const std::string& defaultSuffix) override {
        dialogCalls.push_back({filters, title, path, defaultSuffix});
        return next(chosenSaveFiles, path);
    }
    std::string chooseFileToOpen(QWidget*, const std::vector<gui::FileFilter>& filters,
                                 const std::string& title, const std::string& folder,
                                 const std::string& defaultSuffix) override {
        dialogCalls.push_back({filters, title, folder, defaultSuffix});
        return next(chosenFiles, {});
    }
    bool openWithApplication(const std::string& path) override {
        executed.push_back(path);
        return startSucceeds;
    }
    bool openUrl(const std::string& url) override {
        urls.push_back(url);
        return startSucceeds;
    }
    int runModal(QDialog& dialog) override {
        modalTitles.push_back(dialog.windowTitle().toStdString());
        dialog.setModal(true);
        dialog.show();
        if (onModal) {
            onModal(dialog);
        }
        const int result = dialog.result();
        dialog.hide();
        return result;
    }
};

}  // namespace qor::testing
