#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A pseudo-terminal pair standing in for a device on a serial line: the program
// opens the slave by its name, the test plays the device on the master.
namespace tav::test {

class PtyPair {
public:
    // Opens the pair with the slave in raw mode, so nothing is echoed or held back
    // before the program takes the line. isOpen() tells whether that worked.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isOpen() const { return master_ >= 0; }
    const QString& slaveName() const { return slaveName_; }

    // How often the slave was opened since the pair was made, as the line sees it.
    int slaveOpenings();
    // Sends bytes as the device; false when they were not all written.
    bool send(const QByteArray& bytes);
    // The device goes away: the slave side sees a hang-up.
    void closeMaster();

private:
    int master_ = -1;
    // Held open so the line keeps its state while the program closes and reopens it.
    int slave_ = -1;
    QString slaveName_;
    // Watches the slave's device node for openings.
    int watch_ = -1;
    int openings_ = 0;
};

// A COM port number whose device is the slave of a fresh pair, through the
// TAVEXPORT_COM<n> variable, for as long as it lives.
class PtyComPort {
public:
    explicit PtyComPort(qint16 number);
    ~PtyComPort();
    PtyComPort(const PtyComPort&) = delete;
    PtyComPort& operator=(const PtyComPort&) = delete;

    // Points the port at another device path instead.
    void redirect(const QByteArray& devicePath) const;

    PtyPair pty;
    const qint16 number;
    const QByteArray variable;
};

} // namespace tav::test
