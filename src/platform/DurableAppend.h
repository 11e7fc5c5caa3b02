#pragma once

#include "platform/FileError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Appends to files that several writers share (the layout files of an export folder
// that several benches write into) and that a kill, a full disk or a power cut leaves
// whole. Appends to one file are serialized by its lock (FileLock.h). Before the first
// appended byte, a hidden record beside the file holds the file's old length and the
// whole block, on the disk; once the block is on the disk the record goes. A record that
// is still there was left by a writer that died: the file is cut back only where what
// follows the recorded length is a broken part of that very block, so no byte that
// another writer put there is ever cut.
namespace tav {

// The hidden record beside a file that an append is under way: ".NAME.append".
QString appendRecordPathOf(const QString& path);

// Before the first appended byte: the file's length and the block, recorded on the
// disk. False when the record could not be made (nothing may then be appended).
bool recordAppend(const QString& path, qint64 length, QByteArrayView block);
// After the appended block is on the disk: the record removed.
bool finishAppend(const QString& path);

// What became of an append that a kill or a power cut broke off.
enum class UnfinishedAppend {
    None,        // no record, or one whose append never began or landed whole
    CutBack,     // the broken part of the record's block was cut off
    LeftAsFound, // what follows the recorded length is not the record's block
    Failed,      // the record is left: the file could not be cut or the record removed
};
// Looks for a record beside the file, under the file's lock, and undoes what it proves
// to be a broken append; the record is removed in every case but Failed.
UnfinishedAppend undoUnfinishedAppend(const QString& path);

struct AppendResult {
    WriteResult written = WriteResult::done();
    // An unfinished append of another writer was met and its file left as found.
    bool leftAsFound = false;
};

// Appends the block whole to an existing file; fails for a missing one.
AppendResult appendBlock(const QString& path, QByteArrayView block);
// Appends the block to the file, or, where there is no file yet, makes it of the first
// lines and the block, without taking the place of a file that appeared meanwhile: the
// block then goes to the end of that one, without the first lines.
AppendResult appendOrCreate(const QString& path, QByteArrayView firstLines, QByteArrayView block);

} // namespace tav
