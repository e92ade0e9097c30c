#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/platform/folder_handle.h"

// Result files are never written in place: the bytes go to a temporary file created
// exclusively in the destination's folder (so never through a symbolic link and never into
// a file this run did not create), and the finished file is moved over its name in one step.
// A killed run, a full disk or a failed write therefore never leaves a truncated file under a
// result name, and a failed replacement leaves the old result as it was.
namespace qor::platform {

// Whether anything stands at `path`: a file, a folder or a symbolic link, even a dangling
// one. Throws QorError when the file system cannot tell.
bool entryExists(const std::string& path);

// How a finished result takes its name.
enum class Placement {
    New,      // the name must still be free; something that appeared meanwhile is an error
    Replace,  // the user agreed to replace what stands there (a link is replaced, not followed)
};

// Gives the finished file `fromName` in `from` the name `toName` in `to`, on the same file
// system. Throws QorError naming the destination; the file is left in place on failure (the
// caller removes it).
void moveIntoPlace(const FolderHandle& from, std::string_view fromName, const FolderHandle& to,
                   std::string_view toName, Placement placement);

// One result file being written; see above. Writes go through a large buffer of our own: one
// system call per few hundred kilobytes. Errors throw QorError naming the destination.
class ResultFile {
public:
    static constexpr std::size_t kBufferBytes = 256 * 1024;

    ResultFile();
    ~ResultFile();  // an uncommitted file is discarded
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    // Creates the temporary file in `folder`, to become its file `name`.
    void open(const FolderHandle& folder, std::string_view name);
    // From now on a full buffer is written by a thread of this file's own while the next one
    // fills: a scan writing many large files at once writes them side by side. A failed write
    // throws at the next write, makeDurable or commit.
    void writeInBackground();
#ifdef _WIN32
    bool isOpen() const {
        return handle_ != nullptr;
    }
#else
    bool isOpen() const {
        return descriptor_ >= 0;
    }
#endif
    const std::string& destination() const {
        return destination_;
    }

    void write(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kBufferBytes) {
            flush();
        }
    }
    // Writes what is buffered and makes it durable, without naming the file: many files may do
    // this at once, on threads of their own, so that their syncs overlap.
    void makeDurable();
    // Writes what is buffered, makes it durable (unless makeDurable did since the last write),
    // and gives the file its name. On failure the
    // temporary file is removed and the destination is untouched.
    void commit(Placement placement);
    // Throws the file away; nothing appears under the destination's name.
    void discard() noexcept;

private:
    class BackgroundWriter;

    void flush();
    // Writes `bytes` at the end of the file; returns 0 or the system's error number.
    int writeOut(const std::string& bytes);
    // Makes what is written durable; returns 0 or the system's error number.
    int syncToDisk();
    // Closes the temporary file, made durable first when `sync`; returns 0 or the system's
    // error number. The file keeps its temporary name.
    int closeTemporary(bool sync);
    // Waits for the background writer to finish and stops it; throws what it met.
    void stopBackground();
    // Waits for a write under way and stops the background writer, whatever it met.
    void dropWriter() noexcept;
    // Discards the temporary file and throws `pattern` filled with the destination and the
    // reason of `error`.
    [[noreturn]] void fail(const std::string& pattern, int error);

    static constexpr std::uint64_t kWritebackBytes = 4 * 1024 * 1024;

#ifdef _WIN32
    void* handle_ = nullptr;  // the temporary file's HANDLE
#else
    int descriptor_ = -1;
#endif
    FolderHandle folder_;
    std::string name_;
    std::uint64_t written_ = 0;
    std::uint64_t writebackStart_ = 0;
    bool durable_ = false;
    std::string destination_;
    std::string temporary_;
    std::string buffer_;
    std::unique_ptr<BackgroundWriter> writer_;
};

// Writes `content` as a whole result file `name` in `folder`.
void writeResultFile(const FolderHandle& folder, std::string_view name, std::string_view content,
                     Placement placement);

// A private folder for a writer that insists on naming its own files (the workbook library):
// created with a fresh random name inside `parent`, readable by this user only, removed with
// whatever is left in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const FolderHandle& parent);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The path to give the library, in UTF-8 (on Windows in the "\\?\" long form). Where the
    // system offers it, the path leads through this process's own open folder, so that the
    // folder renamed and a link put in its place meanwhile cannot redirect the library's files.
    const std::string& path() const { return path_; }
    // Gives its file `name` the name `target` in the parent folder, once the file is on disk.
    void moveOut(std::string_view name, std::string_view target, Placement placement) const;

private:
    FolderHandle parent_;
    std::string name_;
    FolderHandle folder_;
    std::string path_;
};

// Removes what runs that were killed left in `folder`: their temporary files and scratch
// folders, never anything through a link. Only for a folder whose lock this process holds (no
// other run writes there then).
void removeLeftovers(const FolderHandle& folder) noexcept;

// Ignores the signals that a write beyond the process's file size limit and a write into a
// pipe nobody reads any more raise, so that such a write fails with an error (EFBIG, EPIPE)
// that the program reports, finishing its work cleanly, instead of ending it silently.
void ignoreWriteFailureSignals();

}  // namespace qor::platform
