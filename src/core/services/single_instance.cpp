#include "core/services/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "core/base/standard_error.h"
#include "core/base/translation.h"

namespace qor::services {
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
#ifndef _WIN32
    if (folder.isEmpty()) {
        // (On Windows this is the home folder: the user's temporary folder serves instead.)
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
#endif
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
#ifdef _WIN32
    // Wine, and now and then Windows, gives a new process the ID of one that ended; the lock
    // that one left then seems held by this very process. A live holder keeps its lock file
    // open against deletion, so a file that can be deleted was left behind.
    qint64 holder = 0;
    QString host;
    QString application;
    if (lock_.error() == QLockFile::LockFailedError &&
        lock_.getLockInfo(&holder, &host, &application) &&
        holder == QCoreApplication::applicationPid() && QFile::remove(path_) && lock_.tryLock(0)) {
        return true;
    }
#endif
    return lock_.error() != QLockFile::LockFailedError;
}

std::string SingleInstance::lockFilePath() const {
    return path_.toStdString();
}

std::string alreadyRunningText() {
    return fillIn(translate("SingleInstance", "%1 is already running"), {kApplicationTitle});
}

}  // namespace qor::services
