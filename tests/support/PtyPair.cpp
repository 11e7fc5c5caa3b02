#include "support/PtyPair.h"

#include <pty.h>
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
}

PtyPair::~PtyPair() {
    closeMaster();
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
