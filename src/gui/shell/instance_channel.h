#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace qor::gui {

// How a second launch reaches the copy that runs: the running copy listens on a local socket
// beside its lock file, and a second launch sends it the path of its file (empty for none)
// instead of ending with only a message.
class InstanceChannel : public QObject {
    Q_OBJECT

public:
    explicit InstanceChannel(QString socketPath, QObject* parent = nullptr);

    // For the copy that holds the lock: a socket left by a copy that ended is replaced.
    bool listen();
    // For a second launch: false when no running copy took the path.
    static bool send(const QString& socketPath, const QString& file, int timeoutMs = 3000);

signals:
    // A second launch asked to open `file` (empty: only to come to the front).
    void openRequested(const QString& file);

private:
    void accept();

    QString socketPath_;
    QLocalServer* server_;
};

}  // namespace qor::gui
