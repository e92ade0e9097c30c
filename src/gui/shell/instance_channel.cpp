#include "gui/shell/instance_channel.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace qor::gui {
namespace {

// Paths longer than this are not what a second launch sends.
constexpr qint64 kLongestMessage = 64 * 1024;

}  // namespace

InstanceChannel::InstanceChannel(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::accept);
}

bool InstanceChannel::listen() {
    QLocalServer::removeServer(socketPath_);
    return server_->listen(socketPath_);
}

void InstanceChannel::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The message is one line: the file's path in UTF-8, then a line feed.
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kLongestMessage) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine()) {
                return;
            }
            const QString file = QString::fromUtf8(socket->readLine()).chopped(1);
            socket->write("ok\n");
            socket->flush();
            socket->disconnectFromServer();
            emit openRequested(file);
        });
    }
}

bool InstanceChannel::send(const QString& socketPath, const QString& file, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(file.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) {
        return false;
    }
    // The running copy answers once it has the path, so nothing is lost if this one ends.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs)) {
            return false;
        }
    }
    return socket.readLine() == "ok\n";
}

}  // namespace qor::gui
