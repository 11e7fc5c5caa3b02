#pragma once

#include <QFileDevice>
#include <QString>

#include <cstdint>

// A file or folder made read-only for as long as the object lives, and given its
// permissions back at the end. Root passes over permissions, so while any such object
// lives the calling thread sets aside the capabilities that let it: a read-only file
// then refuses writes to the test as it would to any bench user.
namespace tav::test {

class ReadOnlyPath {
public:
    explicit ReadOnlyPath(QString path);
    ~ReadOnlyPath();
    ReadOnlyPath(const ReadOnlyPath&) = delete;
    ReadOnlyPath& operator=(const ReadOnlyPath&) = delete;

private:
    QString path_;
    QFileDevice::Permissions permissions_;
    std::uint32_t effectiveCapabilities_ = 0;
};

} // namespace tav::test
