#include "gui/app/forwarding_ui.h"

#include <QMetaObject>
#include <QThread>
#include <string>

namespace qor::gui {

ForwardingUi::ForwardingUi(UserInterface& display, QObject& context,
                           const std::atomic<bool>& cancel)
    : display_(display), context_(context), cancel_(cancel) {}

template <typename Call>
void ForwardingUi::post(Call call) {
    QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
}

template <typename Call>
void ForwardingUi::wait(Call call) {
    // Called on the user-interface thread itself (a scan run there), a blocking hand-over
    // would wait for ever.
    const Qt::ConnectionType type = QThread::currentThread() == context_.thread()
                                        ? Qt::DirectConnection
                                        : Qt::BlockingQueuedConnection;
    QMetaObject::invokeMethod(&context_, std::move(call), type);
}

bool ForwardingUi::askYesNo(const Prompt& prompt) {
    bool answer = false;
    wait([&] { answer = display_.askYesNo(prompt); });
    return answer;
}

void ForwardingUi::inform(const Message& message) {
    wait([&] { display_.inform(message); });
}

void ForwardingUi::reportError(const StandardError& error) {
    wait([&] { display_.reportError(error); });
}

void ForwardingUi::setStatus(std::string_view text) {
    post([this, copy = std::string(text)] { display_.setStatus(copy); });
}

void ForwardingUi::setStatusBarText(std::string_view text) {
    post([this, copy = std::string(text)] { display_.setStatusBarText(copy); });
}

void ForwardingUi::showProgressWindow(bool visible) {
    post([this, visible] { display_.showProgressWindow(visible); });
}

void ForwardingUi::showProgressBar(bool visible) {
    post([this, visible] { display_.showProgressBar(visible); });
}

void ForwardingUi::setProgress(long long value, long long maximum) {
    post([this, value, maximum] { display_.setProgress(value, maximum); });
}

}  // namespace qor::gui
