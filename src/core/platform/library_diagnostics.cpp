#include "core/platform/library_diagnostics.h"

#include <QString>
#include <QtGlobal>

#include "core/base/message_text.h"

#ifdef __GLIBC__
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace qor::platform {
namespace {

#ifdef __GLIBC__
// Qt's message handler is a plain function: it can only find the stream through a static.
std::FILE*& messageStream() {
    static std::FILE* stream = stderr;
    return stream;
}

// Qt's texts may quote what a file held (a type name in a settings value, say): one escaped line.
void forwardQtMessage(QtMsgType, const QMessageLogContext&, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    const std::string line = terminalText(std::string_view(bytes.constData(), bytes.size()));
    std::fprintf(messageStream(), "%s\n", line.c_str());
    std::fflush(messageStream());
}

// A standard stream the caller closed (">&-") would hand its number to the next file opened:
// the copy of the error output below would become the standard output, and what is written
// there would reach the error output as if the standard output worked. /dev/null opened for
// reading only takes the number instead: reading gives nothing, writing still fails.
void holdClosedStandardStreams() {
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        const int held = ::open("/dev/null", O_RDONLY);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
}
#endif

}  // namespace

std::FILE* setLibraryDiagnosticsAside() {
#ifdef __GLIBC__
    holdClosedStandardStreams();
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
