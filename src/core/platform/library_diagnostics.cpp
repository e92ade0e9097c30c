#include "core/platform/library_diagnostics.h"

#include <QString>
#include <QtGlobal>

#ifdef __GLIBC__
#include <unistd.h>
#endif

namespace qor::platform {
namespace {

// Qt's message handler is a plain function: it can only find the stream through a static.
std::FILE*& messageStream() {
    static std::FILE* stream = stderr;
    return stream;
}

void forwardQtMessage(QtMsgType, const QMessageLogContext&, const QString& text) {
    std::fprintf(messageStream(), "%s\n", text.toLocal8Bit().constData());
    std::fflush(messageStream());
}

}  // namespace

std::FILE* setLibraryDiagnosticsAside() {
#ifdef __GLIBC__
    // glibc lets the standard stream variables be assigned.
    const int duplicate = ::dup(STDERR_FILENO);
    std::FILE* ours = duplicate >= 0 ? ::fdopen(duplicate, "w") : nullptr;
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    if (ours == nullptr || nowhere == nullptr) {
        if (ours != nullptr) {
            std::fclose(ours);
        } else if (duplicate >= 0) {
            ::close(duplicate);
        }
        if (nowhere != nullptr) {
            std::fclose(nowhere);
        }
        return stderr;
    }
    std::setvbuf(ours, nullptr, _IOLBF, 0);
    stderr = nowhere;
    messageStream() = ours;
    qInstallMessageHandler(forwardQtMessage);
    return ours;
#else
    return stderr;
#endif
}

}  // namespace qor::platform
