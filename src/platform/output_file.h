#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qor::platform {

// A file written through a large buffer of our own: one system call per few hundred
// kilobytes, whatever the C library does with its own buffers. Errors throw QorError
// naming the file and the cause; nothing is reported as written that was not.
class OutputFile {
public:
    static constexpr std::size_t kBufferBytes = 256 * 1024;

    OutputFile() = default;
    ~OutputFile();  // closes without reporting; call close() to learn of errors
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // "wb" creates or truncates, "ab" appends.
    void open(const std::string& path, const char* mode);
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }

    void write(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kBufferBytes) {
            flush();
        }
    }
    void flush();
    void close();
    // Closes without writing what is still buffered (the result is being thrown away).
    void discard() noexcept;

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    std::string buffer_;
};

}  // namespace qor::platform
