#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

// Files that a kill, a full disk or a power cut leaves whole. A new file is written
// under a name of its own beside the one it replaces, its data put on the disk, and only
// then does it take the old one's name. An append first records how long the file was,
// so that an append that never finished can be cut off again.
namespace tav {

// The file's written data on the disk; false when the disk did not take it.
bool syncToDisk(QFileDevice& file);
// A folder's names on the disk, so that a file made, renamed or removed in it stays so
// after a power cut.
bool syncFolder(const QString& folder);

// The hidden name beside a file under which its replacement is written, unless the
// replacement names one of its own.
QString replacementPathOf(const QString& target);

// A file written whole under a temporary name, then put in place of the target.
class FileReplacement {
public:
    explicit FileReplacement(const QString& target, const QString& tempPath = QString());
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
    const QString& target() const { return target_; }
    bool write(QByteArrayView bytes);
    // Streams what the device holds into the file, never holding it whole; it is read
    // until nothing comes, whatever size it claims. False when a read or a write failed.
    bool writeAllOf(QIODevice& input);

    // The data flushed and synced, the temporary file renamed over the target, the
    // folder synced. False when the data did not land or the rename failed: the target
    // is then as it was, and the temporary file is gone.
    bool commit();
    // The temporary file removed; the target stays as it is.
    void discard();

private:
    QString target_;
    QFile temp_;
};

// The hidden record beside a file that an append is under way.
QString appendRecordPathOf(const QString& path);
// Before the first appended byte: the file's length, recorded on the disk. False when
// the record could not be made (nothing may then be appended).
bool recordAppend(const QString& path, qint64 length);
// After the appended data is on the disk: the record removed.
bool finishAppend(const QString& path);
// An append that a kill or a power cut broke off: the file cut back to the length it
// had before, and the record removed. A record that an append never followed (it was
// not whole yet) is only removed. False when a record is left that could not be undone.
bool undoUnfinishedAppend(const QString& path);

} // namespace tav
