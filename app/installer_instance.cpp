#include "app/installer_instance.h"

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QWidget>

#include <cstddef>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// An abstract socket: no file to leave behind, gone with the process. The
// folder counts by its identity on disk, so two copies at one path in two
// roots are two installers.
sockaddr_un addressFor(const QString& folder, socklen_t& length)
{
    struct stat info {};
    ::stat(QFile::encodeName(folder).constData(), &info);
    const QByteArray name = QStringLiteral("zenkor-installer-%1-%2-%3")
                                .arg(::getuid())
                                .arg(quint64(info.st_dev))
                                .arg(quint64(info.st_ino))
                                .toLatin1();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
    length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return address;
}

// A running installer of this user answers at the address; one of another
// user holding the name is not ours to hand over to.
bool handedOver(const sockaddr_un& address, socklen_t length)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool ours = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
        ucred peer{};
        socklen_t size = sizeof peer;
        ours =
            ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
    }
    ::close(fd);
    return ours;
}

int listenAt(const sockaddr_un& address, socklen_t length)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

InstallerInstance::InstallerInstance(const QString& folder, std::function<void()> whenStartedAgain)
    : whenStartedAgain_(std::move(whenStartedAgain))
{
    socklen_t length = 0;
    const sockaddr_un address = addressFor(folder, length);
    if (handedOver(address, length)) {
        anotherIsRunning_ = true;
        return;
    }
    listener_ = listenAt(address, length);
    // Two starts at once: the one that lost the name hands over to the other.
    if (listener_ < 0) {
        anotherIsRunning_ = handedOver(address, length);
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &InstallerInstance::takeLaterStart);
}

InstallerInstance::~InstallerInstance()
{
    notifier_.reset();
    if (listener_ >= 0)
        ::close(listener_);
}

void InstallerInstance::takeLaterStart()
{
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0)
        return;
    ::close(connection);
    if (whenStartedAgain_)
        whenStartedAgain_();
}

void bringInstallerToFront()
{
    QWidget* front = QApplication::activeModalWidget();
    if (!front) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowType() == Qt::Window)
                front = window;
    }
    if (!front)
        return;
    if (front->isMinimized())
        front->showNormal();
    front->raise();
    front->activateWindow();
}
