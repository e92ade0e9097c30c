#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/base/user_interface.h"

namespace qor::testing {

// A UserInterface that records everything and answers questions from a script.
class ScriptedUi : public UserInterface {
public:
    // Answers for the coming questions, in order; when the script runs out, `defaultAnswer`.
    std::deque<bool> answers;
    std::deque<Answer> answersForAll;  // answers of the questions that offer "to All"
    bool defaultAnswer = false;
    // Runs when a question comes, before it is answered (a person acting meanwhile).
    std::function<void(const Prompt&)> onAsk;

    std::vector<Prompt> prompts;
    std::vector<Message> messages;
    std::vector<StandardError> errors;
    std::vector<std::string> statusTexts;
    std::vector<std::string> lastingStatuses;
    long long lastProgressValue = 0;
    long long lastProgressMaximum = 0;

    bool askYesNo(const Prompt& prompt) override {
        prompts.push_back(prompt);
        if (onAsk) {
            const auto call = onAsk;  // the call may replace it
            call(prompt);
        }
        if (answers.empty()) {
            return defaultAnswer;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Answers from `answersForAll` while there are any, then as askYesNo does.
    Answer askYesNoForAll(const Prompt& prompt) override {
        if (answersForAll.empty()) {
            return askYesNo(prompt) ? Answer::Yes : Answer::No;
        }
        prompts.push_back(prompt);
        const Answer answer = answersForAll.front();
        answersForAll.pop_front();
        return answer;
    }
    void inform(const Message& message) override { messages.push_back(message); }
    void reportError(const StandardError& error) override { errors.push_back(error); }
    void setStatus(std::string_view text) override { statusTexts.emplace_back(text); }
    void setLastingStatus(std::string_view text) override { lastingStatuses.emplace_back(text); }
    void setProgress(long long value, long long maximum) override {
        lastProgressValue = value;
        lastProgressMaximum = maximum;
    }
    // Whether the person asked to stop (the scan stops at its next check).
    bool stopAsked = false;
    bool cancelRequested() override { return stopAsked; }
};

}  // namespace qor::testing
