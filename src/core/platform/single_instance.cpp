#include "core/platform/single_instance.h"

#include <QDir>
#include <QStandardPaths>

#include "core/base/standard_error.h"
#include "core/base/translation.h"

namespace qor::platform {
namespace {

QString userName() {
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty()) {
        name = qEnvironmentVariable("USERNAME");
    }
    if (name.isEmpty()) {
        name = QDir::home().dirName();
    }
    // Only characters that are safe in any file name.
    for (QChar& c : name) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_')) {
            c = QLatin1Char('_');
        }
    }
    return name;
}

QString lockPath(const std::string& lockFolder, std::string_view programName) {
    const QString program = QString::fromUtf8(programName.data(), qsizetype(programName.size()));
    QString folder = QString::fromStdString(lockFolder);
    QString fileName = program + QLatin1String(".lock");
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
        fileName = program + QLatin1Char('-') + userName() + QLatin1String(".lock");
    }
    return QDir(folder).filePath(fileName);
}

}  // namespace

SingleInstance::SingleInstance(const std::string& lockFolder, std::string_view programName)
    : path_(lockPath(lockFolder, programName)), lock_(path_) {
    // A first copy may run for weeks: it must never count as stale by age. Whether the
    // holder still lives is decided by its process ID alone.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (lock_.isLocked()) {
        lock_.unlock();
    }
}

bool SingleInstance::acquire() {
    if (lock_.isLocked()) {
        return true;
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (lock_.tryLock(0)) {
        return true;
    }
    return lock_.error() != QLockFile::LockFailedError;
}

std::string SingleInstance::lockFilePath() const {
    return path_.toStdString();
}

std::string alreadyRunningText() {
    return fillIn(translate("SingleInstance", "%1 is already running"), {kApplicationTitle});
}

}  // namespace qor::platform
