#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSerialPort;

namespace tav {

// The serial-port control of the balance link: the properties and the one event of
// the Windows control the program was written against, on top of QSerialPort.
// Received data is kept here until Input is read and is announced on the thread
// that owns the control (the window's).
//
// COM port n is /dev/ttyS{n-1}; the environment variable TAVEXPORT_COM<n> names
// another device for it (a USB adapter, say).
//
// Setters that the control refuses throw StepFailure with the control's error
// number, so the balance set-up can report "description : number : ".
class SerialControl : public QObject {
    Q_OBJECT
public:
    // Handshake codes of Handshaking.
    enum : qint32 { NoHandshaking = 0, XonXoff = 1, RtsCts = 2, RtsCtsXonXoff = 3 };
    // Values of CommEvent.
    enum : qint16 { EventSend = 1, EventReceive = 2, EventEOF = 7 };

    explicit SerialControl(QObject* parent = nullptr);
    ~SerialControl() override;

    qint16 CommPort() const { return commPort_; }
    // Not while the port is open; ports below 1 do not exist.
    void setCommPort(qint16 port);

    // "baud,parity,data,stop", for instance "9600,n,8,1": parity one of n, e, o, m, s;
    // 4 to 8 data bits; 1, 1.5 or 2 stop bits. Another text is refused (380).
    const QString& Settings() const { return settings_; }
    void setSettings(const QString& settings);

    qint32 Handshaking() const { return handshaking_; }
    void setHandshaking(qint32 code);

    // The receive event is raised once at least this many characters wait; 0 never.
    qint16 RThreshold() const { return rThreshold_; }
    void setRThreshold(qint16 count);

    bool RTSEnable() const { return rtsEnable_; }
    void setRTSEnable(bool enable);

    // Kept for the control's sake; the program never sends.
    qint16 SThreshold() const { return sThreshold_; }
    void setSThreshold(qint16 count);

    bool PortOpen() const;
    // Opens or closes the port. A device that is missing or in use, or a line that
    // cannot take the settings as they stand, is refused and the port stays closed.
    // Opening discards whatever the line received while the port was closed.
    void setPortOpen(bool open);

    // Why the last OnComm was raised.
    qint16 CommEvent() const { return commEvent_; }
    // The characters received since the last read (Latin-1); reading empties them.
    QString Input();
    int InBufferCount() const { return static_cast<int>(received_.size()); }

    // The device path that CommPort stands for.
    static QString devicePath(qint16 port);

signals:
    // Raised with CommEvent set; see RThreshold and the end-of-file character.
    void OnComm();
    // The device went away while open (an adapter pulled); the port is closed.
    void DeviceLost();

private:
    void applyLineSettings();
    void applyHandshaking();
    void applyRts();
    void receive();
    void onPortError(int error);
    void loseDevice();
    void raise(qint16 event);

    QSerialPort* port_ = nullptr;
    QString device_; // the device of the last opening
    qint16 commPort_ = 1;
    QString settings_ = QStringLiteral("9600,n,8,1");
    qint32 handshaking_ = NoHandshaking;
    qint16 rThreshold_ = 0;
    bool rtsEnable_ = false;
    qint16 sThreshold_ = 0;
    qint16 commEvent_ = 0;
    QByteArray received_;
    bool lost_ = false;
    int openings_ = 0; // tells a lost device of an earlier opening from the current one
};

} // namespace tav
