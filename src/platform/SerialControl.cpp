#include "platform/SerialControl.h"

#include "platform/StepFailure.h"

#include <QSerialPort>

#include <optional>

#include <termios.h>

namespace tav {
namespace {

// The control's own error numbers and texts.
constexpr int invalidPropertyValue = 380;
constexpr int operationWhileOpen = 8000;
constexpr int invalidPortNumber = 8002;
constexpr int portAlreadyOpen = 8005;
constexpr int hardwareNotAvailable = 8010;
constexpr int couldNotSetCommState = 8015;
constexpr int portNotOpen = 8018;

[[noreturn]] void fail(int number, const QString& detail = QString()) {
    QString text;
    switch (number) {
    case invalidPropertyValue:
        text = QStringLiteral("Invalid property value");
        break;
    case operationWhileOpen:
        text = QStringLiteral("Operation not valid while the port is opened");
        break;
    case invalidPortNumber:
        text = QStringLiteral("Invalid port number");
        break;
    case portAlreadyOpen:
        text = QStringLiteral("Port already open");
        break;
    case couldNotSetCommState:
        text = QStringLiteral(
            "Could not set comm state, there may be one or more invalid communication parameters");
        break;
    case portNotOpen:
        text = QStringLiteral("Operation valid only when the port is open");
        break;
    default:
        text = QStringLiteral("The hardware is not available (locked by another device)");
        break;
    }
    if (!detail.isEmpty())
        text += QStringLiteral(" (") + detail + u')';
    throw StepFailure(text, number);
}

struct LineSettings {
    qint32 baud = 9600;
    char parity = 'n';
    int dataBits = 8;
    int stopTenths = 10; // 10, 15 or 20
};

std::optional<int> wholeDecimal(const QString& text) {
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return text.toInt();
}

std::optional<LineSettings> parseSettings(const QString& text) {
    const QStringList fields = text.split(u',');
    if (fields.size() != 4)
        return std::nullopt;
    LineSettings line;
    const auto baud = wholeDecimal(fields[0].trimmed());
    if (!baud || *baud <= 0)
        return std::nullopt;
    line.baud = *baud;
    const QString parity = fields[1].trimmed().toLower();
    if (parity.size() != 1 || !QStringLiteral("neoms").contains(parity))
        return std::nullopt;
    line.parity = parity[0].toLatin1();
    const auto data = wholeDecimal(fields[2].trimmed());
    if (!data || *data < 4 || *data > 8)
        return std::nullopt;
    line.dataBits = *data;
    const QString stop = fields[3].trimmed();
    if (stop == u"1")
        line.stopTenths = 10;
    else if (stop == u"1.5")
        line.stopTenths = 15;
    else if (stop == u"2")
        line.stopTenths = 20;
    else
        return std::nullopt;
    return line;
}

QSerialPort::Parity toQtParity(char parity) {
    switch (parity) {
    case 'e':
        return QSerialPort::EvenParity;
    case 'o':
        return QSerialPort::OddParity;
    case 'm':
        return QSerialPort::MarkParity;
    case 's':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

// What the termios of an open line must hold for the settings. The driver may drop
// what it cannot do without telling; this catches it.
QString refusedByLine(int descriptor, const LineSettings& line) {
    termios tio{};
    if (::tcgetattr(descriptor, &tio) != 0)
        return QStringLiteral("line state unreadable");
    const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    if ((tio.c_cflag & CSIZE) != sizes[line.dataBits - 5])
        return QStringLiteral("%1 data bits not taken").arg(line.dataBits);
    if (((tio.c_cflag & CSTOPB) != 0) != (line.stopTenths == 20))
        return QStringLiteral("stop bits not taken");
    const bool enabled = tio.c_cflag & PARENB;
    const bool odd = tio.c_cflag & PARODD;
    const bool sticky = tio.c_cflag & CMSPAR;
    bool taken = false;
    switch (line.parity) {
    case 'n':
        taken = !enabled;
        break;
    case 'e':
        taken = enabled && !odd && !sticky;
        break;
    case 'o':
        taken = enabled && odd && !sticky;
        break;
    case 'm':
        taken = enabled && odd && sticky;
        break;
    case 's':
        taken = enabled && !odd && sticky;
        break;
    }
    return taken ? QString()
                 : QStringLiteral("parity '%1' not taken").arg(QLatin1Char(line.parity));
}

} // namespace

SerialControl::SerialControl(QObject* parent) : QObject(parent), port_(new QSerialPort(this)) {
    connect(port_, &QSerialPort::readyRead, this, &SerialControl::receive);
    connect(port_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onPortError(error); });
}

SerialControl::~SerialControl() {
    // Closed here, while the control is whole, so nothing the closing reports reaches it.
    port_->disconnect(this);
    port_->close();
}

QString SerialControl::devicePath(qint16 port) {
    const QString chosen =
        qEnvironmentVariable(qPrintable(QStringLiteral("TAVEXPORT_COM%1").arg(port)));
    if (!chosen.isEmpty())
        return chosen;
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

void SerialControl::setCommPort(qint16 port) {
    if (PortOpen())
        fail(operationWhileOpen);
    if (port < 1)
        fail(invalidPortNumber);
    commPort_ = port;
}

void SerialControl::setSettings(const QString& settings) {
    if (!parseSettings(settings))
        fail(invalidPropertyValue);
    const QString previous = settings_;
    settings_ = settings;
    if (!PortOpen())
        return;
    try {
        applyLineSettings();
    } catch (const StepFailure&) {
        // The line keeps working with what it had.
        settings_ = previous;
        step([this] { applyLineSettings(); });
        throw;
    }
}

void SerialControl::setHandshaking(qint32 code) {
    if (code < NoHandshaking || code > RtsCtsXonXoff)
        fail(invalidPropertyValue);
    handshaking_ = code;
    if (PortOpen()) {
        applyHandshaking();
        applyRts();
    }
}

void SerialControl::setRThreshold(qint16 count) {
    if (count < 0)
        fail(invalidPropertyValue);
    rThreshold_ = count;
}

void SerialControl::setRTSEnable(bool enable) {
    rtsEnable_ = enable;
    if (PortOpen())
        applyRts();
}

void SerialControl::setSThreshold(qint16 count) {
    if (count < 0)
        fail(invalidPropertyValue);
    sThreshold_ = count;
}

bool SerialControl::PortOpen() const {
    return port_->isOpen();
}

void SerialControl::setPortOpen(bool open) {
    if (!open) {
        port_->close();
        received_.clear();
        return;
    }
    if (PortOpen())
        fail(portAlreadyOpen);
    device_ = devicePath(commPort_);
    port_->setPortName(device_);
    if (!port_->open(QIODevice::ReadWrite)) {
        const QString reason = device_ + QStringLiteral(": ") + port_->errorString();
        switch (port_->error()) {
        case QSerialPort::DeviceNotFoundError:
            fail(invalidPortNumber, reason);
        case QSerialPort::PermissionError:
        case QSerialPort::OpenError:
            fail(portAlreadyOpen, reason);
        case QSerialPort::UnsupportedOperationError:
            fail(couldNotSetCommState, reason);
        default:
            fail(hardwareNotAvailable, reason);
        }
    }
    try {
        applyLineSettings();
        applyHandshaking();
    } catch (const StepFailure&) {
        port_->close();
        throw;
    }
    applyRts();
    // What the line queued while the port was closed is stale (a reading sent during
    // manual entry); a closed serial port would have lost it. A line that cannot
    // discard it still carries the readings to come.
    if (!port_->clear(QSerialPort::Input))
        port_->clearError();
    received_.clear();
    lost_ = false;
    ++openings_;
}

void SerialControl::applyLineSettings() {
    const LineSettings line = *parseSettings(settings_);
    const QString& device = device_;
    // Linux has no 1.5 stop bits and no 4-bit characters; QSerialPort would quietly
    // use 1 stop bit, and a balance read with the wrong framing gives wrong weights.
    if (line.stopTenths == 15)
        fail(couldNotSetCommState, device + QStringLiteral(": 1.5 stop bits not supported"));
    if (line.dataBits < 5)
        fail(couldNotSetCommState, device + QStringLiteral(": 4 data bits not supported"));
    const bool taken =
        port_->setBaudRate(line.baud) &&
        port_->setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits)) &&
        port_->setParity(toQtParity(line.parity)) &&
        port_->setStopBits(line.stopTenths == 20 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    if (!taken)
        fail(couldNotSetCommState, device + QStringLiteral(": ") + port_->errorString());
    const QString refused = refusedByLine(static_cast<int>(port_->handle()), line);
    if (!refused.isEmpty())
        fail(couldNotSetCommState, device + QStringLiteral(": ") + refused);
}

void SerialControl::applyHandshaking() {
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    if (handshaking_ == XonXoff)
        flow = QSerialPort::SoftwareControl;
    else if (handshaking_ == RtsCts || handshaking_ == RtsCtsXonXoff)
        flow = QSerialPort::HardwareControl;
    if (!port_->setFlowControl(flow))
        fail(couldNotSetCommState, device_ + QStringLiteral(": ") + port_->errorString());
    if (handshaking_ != RtsCtsXonXoff)
        return;
    // QSerialPort offers one flow control at a time; the software one is added here.
    const int descriptor = static_cast<int>(port_->handle());
    termios tio{};
    if (::tcgetattr(descriptor, &tio) != 0)
        fail(couldNotSetCommState, device_);
    tio.c_iflag |= IXON | IXOFF;
    if (::tcsetattr(descriptor, TCSANOW, &tio) != 0)
        fail(couldNotSetCommState, device_);
}

void SerialControl::applyRts() {
    // Under RTS/CTS handshaking the line drives RTS itself. A device without an RTS
    // line (a pseudo-terminal, some adapters) still carries the data, so a refusal
    // is not an error.
    if (handshaking_ == RtsCts || handshaking_ == RtsCtsXonXoff)
        return;
    if (!port_->setRequestToSend(rtsEnable_))
        port_->clearError();
}

QString SerialControl::Input() {
    if (!PortOpen())
        fail(portNotOpen);
    const QString text = QString::fromLatin1(received_);
    received_.clear();
    return text;
}

void SerialControl::receive() {
    const QByteArray data = port_->readAll();
    if (data.isEmpty())
        return;
    received_ += data;
    if (data.contains('\x1A'))
        raise(EventEOF);
    if (PortOpen() && rThreshold_ > 0 && received_.size() >= rThreshold_)
        raise(EventReceive);
}

void SerialControl::raise(qint16 event) {
    commEvent_ = event;
    emit OnComm();
}

void SerialControl::onPortError(int error) {
    // A line that has gone away fails every read: a removed adapter gives a resource
    // error, a hung-up terminal a read error, and either repeats for as long as the
    // dead descriptor stays open. One report is enough; the port is closed outside
    // QSerialPort's own notification.
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) || lost_ ||
        !PortOpen())
        return;
    lost_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, opening = openings_] {
            if (opening == openings_ && PortOpen())
                loseDevice();
        },
        Qt::QueuedConnection);
}

void SerialControl::loseDevice() {
    port_->close();
    received_.clear();
    emit DeviceLost();
}

} // namespace tav
