#include "frame/second_copy.h"

#include "platform/settings/settings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

const QByteArray kExitRequest = "exit\n";
const QByteArray kExitDone = "done\n";

} // namespace

SecondCopy::SecondCopy(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SecondCopy::~SecondCopy() = default;

QString SecondCopy::defaultName()
{
    const QString store = settings::fileInUse();
    const QString identity = store.isEmpty()
        ? QStringLiteral("user:%1:%2").arg(qEnvironmentVariable("USER"), QDir::homePath())
        : QStringLiteral("store:%1").arg(QFileInfo(store).absoluteFilePath());
    const QByteArray digest = QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("quil-") + QString::fromLatin1(digest.left(20));
}

bool SecondCopy::askRunningCopyToExit(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(1000))
        return false;

    // The running copy may live in this very thread (two windows in one test), so the wait
    // turns the event loop instead of blocking it.
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        if (socket.canReadLine() && socket.readLine() == kExitDone)
            loop.quit();
    });
    socket.write(kExitRequest);
    socket.flush();
    timeout.start(timeoutMs);
    if (socket.state() == QLocalSocket::ConnectedState)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    socket.disconnectFromServer();
    return true;
}

bool SecondCopy::listen()
{
    if (!server_) {
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, &SecondCopy::serve);
    }
    if (server_->isListening())
        return true;
    if (server_->listen(name_))
        return true;
    // Left behind by a copy that did not end normally: nobody answered on it a moment ago.
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

void SecondCopy::stopListening()
{
    if (server_)
        server_->close();
}

bool SecondCopy::isListening() const
{
    return server_ && server_->isListening();
}

void SecondCopy::serve()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() != kExitRequest)
                    continue;
                emit exitRequested();
                socket->write(kExitDone);
                socket->flush();
                socket->disconnectFromServer();
                return;
            }
        });
    }
}
