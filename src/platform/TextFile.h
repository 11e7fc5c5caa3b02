#pragma once

#include "platform/FileError.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// Plain text files of the program: single-byte text in the Western Windows code page
// (every byte survives a read and a write), lines written with CR LF, and CR, LF or
// CR LF accepted on read.
namespace tav {

class FileReplacement;

// The lines of a file, without their line ends; nothing when it cannot be read.
std::optional<QStringList> readLines(const QString& path);

// A carriage return or a line feed: where a line ends, alone or as CR LF.
inline bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

// Splits text into lines at CR LF, CR or LF.
QStringList splitLines(const QString& text);

// The items of a comma-separated list file as the program's sequential reader takes
// them: items end at a comma or a line end, an unquoted item is trimmed, a quoted
// item loses its quotes and keeps its commas.
QStringList readListItems(const QString& text);
std::optional<QStringList> readListItemsFromFile(const QString& path);

// Replaces a file whole with the given lines (each followed by CR LF) through a
// temporary file beside it, so a kill, a full disk or a power cut never leaves half a
// file.
// With mustExist, a missing file is not created. Fails when nothing was written.
WriteResult replaceFileLines(const QString& path, const QStringList& lines, bool mustExist = false);

// An open text file, written or read line by line.
class TextStream {
public:
    enum class Mode { Read, Create, Append, New, Replace };

    // Opens the file; Create makes it anew (an old file is emptied), Append and Read
    // never create it. Append and New keep what is written and add it at close() as one
    // block, whole or not at all, also after a kill or a power cut, and never in the
    // middle of another writer's block (DurableAppend.h); New makes the file when there
    // is none, with the header lines first. Replace writes a new file beside the old one
    // (under the name given, else a hidden one), which takes the old one's place at the
    // close; until then the old file stays as it was. isOpen() tells whether opening
    // worked. A replacement or a new file is put in place by close() only; one
    // destroyed before is dropped.
    TextStream(const QString& path, Mode mode, const QString& replacementPath = QString());
    ~TextStream();
    TextStream(const TextStream&) = delete;
    TextStream& operator=(const TextStream&) = delete;

    bool isOpen() const;
    const QString& path() const { return path_; }

    // Writing: false (and failed() true from then on) when the bytes did not land. A
    // write that does not land whole takes back all that the stream wrote, so the file
    // is left as it was when it was opened, and nothing more is written.
    bool write(const QString& text);
    // Bytes read from another file of the program, written as they are.
    bool writeRaw(QByteArrayView bytes);
    bool writeLine(const QString& text);
    // New: a line that goes first into the file, and only when the close makes it.
    // Any other mode writes it as a line.
    bool writeHeaderLine(const QString& text);
    bool failed() const { return failed_; }
    // Why opening, writing or closing failed, in the system's words.
    const QString& error() const { return error_; }
    // Append and New: the close met an append that another writer left unfinished, and
    // left its file as found.
    bool leftAsFound() const { return leftAsFound_; }

    // Reading: the next line without its end, nothing at the end of the file.
    std::optional<QString> readLine();
    // The next line without its end, handed over in one or more pieces as the file is
    // read, so a line of any length is never held whole; false at the end of the file.
    bool readLinePieces(const std::function<void(QByteArrayView)>& piece);
    bool atEnd();

    // Flushes and closes; false when the data could not be written out.
    bool close();
    // Replace, Append and New: nothing written is put in place, and the old file stays
    // as it is.
    void discard();

private:
    QFileDevice* device() const;
    void discardWrites();
    void noteError(int errorNumber);

    QString path_;
    Mode mode_;
    std::unique_ptr<QFile> file_;                  // Read, Create
    std::unique_ptr<FileReplacement> replacement_; // Replace
    std::optional<QByteArray> block_;              // Append, New: added at the close
    QByteArray headerLines_;                       // New
    bool failed_ = false;
    bool leftAsFound_ = false;
    QString error_;
    // Reading: the part of the file read last, and how far into it the lines went.
    bool fillBuffer();
    QByteArray pending_;
    qsizetype readPos_ = 0;
};

} // namespace tav
