#include "ui/single_instance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace brumo {

namespace {

constexpr char Request[] = "raise\n";

// How long a second start waits for the first to listen: the first may still be loading
// its list when the second arrives.
constexpr int ConnectPatienceMs = 5000;

QString UserName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return user;
}

} // namespace

QString SingleInstance::DefaultName() {
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    // The home folder stands in for the user where the user name is not known.
    const QByteArray digest = QCryptographicHash::hash((program + '\n' + QDir::homePath()).toUtf8(),
                                                       QCryptographicHash::Sha1)
                                  .toHex()
                                  .left(12);
    return QString("brumo-%1-%2").arg(UserName(), QString::fromLatin1(digest));
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

SingleInstance::~SingleInstance() {
    server_.close();
}

bool SingleInstance::Claim() {
    // The lock decides who is first; the socket only carries the request. A lock left by a
    // crashed copy is stale (its process is gone) and is taken over.
    QString lockDir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (lockDir.isEmpty())
        lockDir = QDir::tempPath();
    lock_ = std::make_unique<QLockFile>(QDir(lockDir).filePath(name_ + ".lock"));
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        if (lock_->error() == QLockFile::LockFailedError) {
            AskRunningCopy();
            return false;
        }
        lock_.reset(); // no lock possible here: run unprotected
    }
    QLocalServer::removeServer(name_); // a socket left by a crashed copy
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(name_);
    return true;
}

void SingleInstance::AskRunningCopy() {
    QElapsedTimer waited;
    waited.start();
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(name_);
        if (socket.waitForConnected(500)) {
            socket.write(Request);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return;
        }
        if (waited.elapsed() > ConnectPatienceMs)
            return; // the first copy holds the lock but does not answer: still end
        QThread::msleep(100);
    }
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readRequest = [this, socket] {
            if (socket->canReadLine() && socket->readLine() == Request)
                emit activationRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        readRequest();
    }
}

} // namespace brumo
