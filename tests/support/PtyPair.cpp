#include "support/PtyPair.h"

#include <pty.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace tav::test {

PtyPair::PtyPair() {
    std::array<char, 128> name{};
    if (::openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    slaveName_ = QString::fromLocal8Bit(name.data());
    termios tio{};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // Closes are watched too: the kernel folds a run of like events into one.
    if (watch_ >= 0 && ::inotify_add_watch(watch_, name.data(), IN_OPEN | IN_CLOSE) < 0) {
        ::close(watch_);
        watch_ = -1;
    }
}

PtyPair::~PtyPair() {
    closeMaster();
    if (watch_ >= 0)
        ::close(watch_);
}

int PtyPair::slaveOpenings() {
    alignas(inotify_event) std::array<char, 4096> events{};
    ssize_t n = 0;
    while (watch_ >= 0 && (n = ::read(watch_, events.data(), events.size())) > 0) {
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events.data() + at);
            if (event->mask & IN_OPEN)
                ++openings_;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return watch_ >= 0 ? openings_ : -1;
}

bool PtyPair::send(const QByteArray& bytes) {
    qsizetype done = 0;
    while (master_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return done == bytes.size();
}

void PtyPair::closeMaster() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
    if (slave_ >= 0)
        ::close(slave_);
    slave_ = -1;
}

PtyComPort::PtyComPort(qint16 number)
    : number(number), variable(QByteArrayLiteral("TAVEXPORT_COM") + QByteArray::number(number)) {
    redirect(pty.slaveName().toLocal8Bit());
}

PtyComPort::~PtyComPort() {
    qunsetenv(variable.constData());
}

void PtyComPort::redirect(const QByteArray& devicePath) const {
    qputenv(variable.constData(), devicePath);
}

} // namespace tav::test
