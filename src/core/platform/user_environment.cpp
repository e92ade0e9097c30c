#include "core/platform/user_environment.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <QString>

#include "core/platform/path_names.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace qor::platform {

MonthNames monthNamesOf(const QLocale& locale) {
    MonthNames names;
    for (int month = 1; month <= 12; ++month) {
        // The stand-alone form is the month's name on its own, as a date stamp shows it;
        // dots and blanks ("Dez.", "thg 12") have no place inside a file name.
        QString name = locale.standaloneMonthName(month, QLocale::ShortFormat);
        name.remove(QLatin1Char('.'));
        name.removeIf([](QChar c) { return c.isSpace(); });
        if (!name.isEmpty()) {
            names.shortNames[static_cast<std::size_t>(month - 1)] =
                safeFileNamePart(name.toUtf8().toStdString());
        }
    }
    return names;
}

MonthNames systemMonthNames() {
    return monthNamesOf(QLocale::system());
}

std::string defaultResultFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    return QDir::toNativeSeparators(folder).toUtf8().toStdString();
}

bool createMissingDocumentsFolder(const std::string& folder) {
    if (folder.empty() || folder != defaultResultFolder()) {
        return false;
    }
    const QString path = QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size()));
    return !QDir(path).exists() && QDir().mkpath(path);
}

SystemMemory systemMemory() {
    constexpr long long kMebibyte = 1024 * 1024;
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) {
        return {};
    }
    return {static_cast<long long>(status.ullTotalPhys / kMebibyte),
            static_cast<long long>(status.ullAvailPhys / kMebibyte)};
#else
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const auto mebibytes = [pageSize](long pages) {
        return pages > 0 && pageSize > 0 ? static_cast<long long>(pages) * pageSize / kMebibyte
                                         : -1LL;
    };
    return {mebibytes(::sysconf(_SC_PHYS_PAGES)), mebibytes(::sysconf(_SC_AVPHYS_PAGES))};
#endif
}

bool isTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

std::vector<std::string> programArguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr) {
        std::vector<std::string> arguments;
        for (int i = 1; i < count; ++i) {
            arguments.push_back(QString::fromWCharArray(wide[i]).toUtf8().toStdString());
        }
        LocalFree(wide);
        return arguments;
    }
#endif
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

#ifdef _WIN32
void useParentConsole() {
    const auto missing = [](DWORD stream) {
        const HANDLE handle = GetStdHandle(stream);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    const bool noOutput = missing(STD_OUTPUT_HANDLE);
    const bool noError = missing(STD_ERROR_HANDLE);
    if ((noOutput || noError) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (noOutput) {
            std::freopen("CONOUT$", "w", stdout);
        }
        if (noError) {
            std::freopen("CONOUT$", "w", stderr);
        }
    }
}

bool runsUnderWine() {
    // Wine's ntdll names its version; Windows' has no such export.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

Utf8Console::Utf8Console() : previousCodePage_(GetConsoleOutputCP()) {
    if (previousCodePage_ != 0) {
        SetConsoleOutputCP(CP_UTF8);
    }
}

Utf8Console::~Utf8Console() {
    if (previousCodePage_ != 0) {
        SetConsoleOutputCP(previousCodePage_);
    }
}
#else
void useParentConsole() {}

bool runsUnderWine() {
    return false;
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;
#endif

}  // namespace qor::platform
