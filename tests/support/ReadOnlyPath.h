#pragma once

#include <QFileDevice>
#include <QString>

#include <cstdint>

// A file or folder given fewer permissions for as long as the object lives, and given
// its permissions back at the end. Root passes over permissions, so while any such
// object lives the calling thread sets aside the capabilities that let it: the path then
// refuses the test what it would refuse any bench user.
namespace tav::test {

class PathPermissions {
public:
    PathPermissions(QString path, QFileDevice::Permissions permissions);
    ~PathPermissions();
    PathPermissions(const PathPermissions&) = delete;
    PathPermissions& operator=(const PathPermissions&) = delete;

private:
    QString path_;
    QFileDevice::Permissions permissions_;
    std::uint32_t effectiveCapabilities_ = 0;
};

// Read-only: every write bit taken away.
class ReadOnlyPath : public PathPermissions {
public:
    explicit ReadOnlyPath(const QString& path);
};

// A folder the bench may write into and pass through but not list: a drop box.
class DropBoxFolder : public PathPermissions {
public:
    explicit DropBoxFolder(const QString& path);
};

} // namespace tav::test
