#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

// The one place where the program's text files put their bytes, so that a test can fill
// the disk under them.
namespace tav {

// Writes the bytes to the open file; false when not all of them landed.
bool writeBytes(QFileDevice& file, QByteArrayView bytes);

// A full disk for tests: while it lives, the files below the folder take only freeBytes
// more bytes between them; a write that does not fit lands part-way and fails.
class SimulatedDiskFull {
public:
    SimulatedDiskFull(const QString& folder, qint64 freeBytes);
    ~SimulatedDiskFull();
    SimulatedDiskFull(const SimulatedDiskFull&) = delete;
    SimulatedDiskFull& operator=(const SimulatedDiskFull&) = delete;
};

} // namespace tav
