#pragma once

#include "platform/FileLock.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <optional>

// Files that a kill, a full disk or a power cut leaves whole. A new file is written
// under a name of its own beside the one it replaces, its data put on the disk, and only
// then does it take the old one's name.
namespace tav {

// The file's written data on the disk; false when the disk did not take it (errno
// tells why).
bool syncToDisk(QFileDevice& file);
// A folder's names on the disk, so that a file made, renamed or removed in it stays so
// after a power cut. A folder that the bench may write into but not list (a drop box)
// cannot be opened to be synced: that is passed over, as the files in it are synced
// themselves. False when the folder's sync failed.
bool syncFolder(const QString& folder);

// The hidden name beside a file under which its replacement is written, unless the
// replacement names one of its own.
QString replacementPathOf(const QString& target);

// A file written whole under a temporary name, then put in place of the target. A
// target that is a symbolic link is written through: the new file is written beside the
// file the link names and takes that file's place, and the link stays. The target's
// lock is held from the temporary file's making to the rename.
class FileReplacement {
public:
    // Whether the replacement takes the target's lock, or runs under the caller's.
    enum class Locking { Own, Caller };

    explicit FileReplacement(const QString& target, const QString& tempPath = QString(),
                             Locking locking = Locking::Own);
    // A replacement that was not committed is discarded.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // A target that may not be written is kept, as opening it for writing would fail;
    // a copy that stands for a removal and a new file replaces one all the same.
    enum class ReadOnlyTarget { Keep, Replace };

    // Creates the temporary file empty, with the permissions of the target when there is
    // one; false when it cannot be made, or the target is kept.
    bool open(ReadOnlyTarget readOnly = ReadOnlyTarget::Keep);
    bool isOpen() const { return temp_.isOpen(); }
    QFile& file() { return temp_; }
    // The file that is replaced: the one a link names.
    const QString& target() const { return target_; }
    bool write(QByteArrayView bytes);
    // Streams what the device holds into the file, never holding it whole; it is read
    // until nothing comes, whatever size it claims. False when a read or a write failed.
    bool writeAllOf(QIODevice& input);

    // The data flushed and synced, the temporary file renamed over the target, the
    // folder synced. False when the data did not land or the rename failed: the target
    // is then as it was, and the temporary file is gone.
    bool commit();
    // As commit, for a file that must not take the place of one: where a file of the
    // target's name has appeared since, nothing is renamed and Existed comes back.
    enum class NewFile { Made, Existed, Failed };
    NewFile commitNew();
    // The temporary file removed; the target stays as it is.
    void discard();

    // Why opening, writing or committing failed, in the system's words.
    const QString& error() const { return error_; }

private:
    bool fail(int errorNumber);
    bool landOnDisk();

    QString target_;
    QFile temp_;
    Locking locking_;
    std::optional<FileLock> lock_;
    bool tempMade_ = false; // the temporary file is there under its own name
    QString error_;
};

// Removes what writers that were killed left in the folder: replacements never put in
// place (".NAME.new", the Col layout's "_colstmp" file) and lock files. Only what no live
// writer holds is removed: a leftover goes only when the lock of the file it was for can
// be taken at once. A folder that cannot be listed is passed over.
void removeLeftovers(const QString& folder);

} // namespace tav
