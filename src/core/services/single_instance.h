#pragma once

#include <QLockFile>
#include <string>
#include <string_view>

namespace qor::services {

// Refuses a second running copy of the program for the same user: a lock file in the user's
// runtime folder, held for as long as this object lives.
class SingleInstance {
public:
    // `lockFolder` empty: the user's runtime folder, or the temporary folder when the platform
    // names none (the file name then carries the user's name, as that folder is shared).
    explicit SingleInstance(const std::string& lockFolder = {},
                            std::string_view programName = "qorreader");
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another live process holds the lock. A lock left behind by a process that
    // has ended is taken over. When no lock can be made at all (folder not writable), the
    // program is not stopped: true, and held() stays false.
    bool acquire();
    bool held() const { return lock_.isLocked(); }

    std::string lockFilePath() const;

private:
    QString path_;
    QLockFile lock_;
};

// The text of the box a second copy shows before it ends: ".QOR Reader is already running".
std::string alreadyRunningText();

}  // namespace qor::services
