#include "platform/TextFile.h"

#include "platform/AnsiText.h"
#include "platform/DurableAppend.h"
#include "platform/DurableFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace tav {
namespace {

const QByteArray kLineEnd("\r\n");

// A file is read in parts of this size, so a large file is never held whole.
constexpr qint64 kReadBufferSize = 1024 * 1024;

// Index just past the line end that starts at pos (CR LF, CR or LF).
qsizetype skipLineEnd(const QString& text, qsizetype pos) {
    if (pos < text.size() && text[pos] == u'\r') {
        ++pos;
        if (pos < text.size() && text[pos] == u'\n')
            ++pos;
        return pos;
    }
    if (pos < text.size() && text[pos] == u'\n')
        ++pos;
    return pos;
}

// The position of the first CR or LF in data[from, to), or to when there is none.
qsizetype lineEndIn(const char* data, qsizetype from, qsizetype to) {
    const void* const lf = std::memchr(data + from, '\n', std::size_t(to - from));
    const qsizetype lfAt = lf ? static_cast<const char*>(lf) - data : to;
    const void* const cr = std::memchr(data + from, '\r', std::size_t(lfAt - from));
    return cr ? static_cast<const char*>(cr) - data : lfAt;
}

} // namespace

QStringList splitLines(const QString& text) {
    QStringList lines;
    const QChar* const data = text.constData();
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && !isLineEnd(data[end]))
            ++end;
        lines.append(QString(data + pos, end - pos));
        pos = skipLineEnd(text, end);
    }
    return lines;
}

std::optional<QStringList> readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return splitLines(fromAnsi(file.readAll()));
}

QStringList readListItems(const QString& text) {
    QStringList items;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        while (pos < n && (text[pos] == u' ' || text[pos] == u'\t'))
            ++pos;
        QString item;
        if (pos < n && text[pos] == u'"') {
            const qsizetype close = text.indexOf(u'"', pos + 1);
            const qsizetype end = close < 0 ? n : close;
            item = text.mid(pos + 1, end - pos - 1);
            pos = close < 0 ? n : close + 1;
            while (pos < n && text[pos] != u',' && !isLineEnd(text[pos]))
                ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < n && text[pos] != u',' && !isLineEnd(text[pos]))
                ++pos;
            item = text.mid(start, pos - start).trimmed();
        }
        items.append(item);
        if (pos < n)
            pos = text[pos] == u',' ? pos + 1 : skipLineEnd(text, pos);
    }
    return items;
}

std::optional<QStringList> readListItemsFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readListItems(fromAnsi(file.readAll()));
}

WriteResult replaceFileLines(const QString& path, const QStringList& lines, bool mustExist) {
    if (mustExist && !QFileInfo(path).isFile())
        return WriteResult::failedWithErrno(ENOENT);
    FileReplacement file(path);
    if (!file.open())
        return WriteResult::failed(file.error());
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toAnsi(line) + kLineEnd;
    if (!file.write(bytes) || !file.commit())
        return WriteResult::failed(file.error());
    return WriteResult::done();
}

TextStream::TextStream(const QString& path, Mode mode, const QString& replacementPath)
    : path_(path), mode_(mode) {
    errno = 0;
    switch (mode) {
    case Mode::Read:
        file_ = std::make_unique<QFile>(path);
        if (!file_->open(QIODevice::ReadOnly))
            noteError(errno);
        break;
    case Mode::Create:
        file_ = std::make_unique<QFile>(path);
        if (!file_->open(QIODevice::WriteOnly | QIODevice::Truncate))
            noteError(errno);
        break;
    case Mode::Append:
        if (QFileInfo(path).isFile())
            block_.emplace();
        else
            noteError(ENOENT);
        break;
    case Mode::New:
        block_.emplace();
        break;
    case Mode::Replace:
        replacement_ = std::make_unique<FileReplacement>(path, replacementPath);
        if (!replacement_->open())
            error_ = replacement_->error();
        break;
    }
}

// A replacement or a new file that was never closed was broken off: it never takes a
// file's place. What an append stream holds is added, as a close would.
TextStream::~TextStream() {
    if (replacement_ || mode_ == Mode::New)
        discard();
    else
        close();
}

QFileDevice* TextStream::device() const {
    if (replacement_)
        return &replacement_->file();
    return file_.get();
}

bool TextStream::isOpen() const {
    if (block_)
        return true;
    return device() && device()->isOpen();
}

void TextStream::noteError(int errorNumber) {
    if (error_.isEmpty())
        error_ = WriteResult::failedWithErrno(errorNumber).cause();
}

bool TextStream::write(const QString& text) {
    return writeRaw(toAnsi(text));
}

bool TextStream::writeRaw(QByteArrayView bytes) {
    if (block_ && !failed_) {
        block_->append(bytes);
        return true;
    }
    QFileDevice* const file = device();
    if (failed_ || !isOpen() || !file || !file->isWritable()) {
        failed_ = true;
        return false;
    }
    errno = 0;
    if (file->write(bytes.data(), bytes.size()) != bytes.size()) {
        noteError(errno);
        discardWrites();
    }
    return !failed_;
}

bool TextStream::writeHeaderLine(const QString& text) {
    if (mode_ != Mode::New)
        return writeLine(text);
    if (!block_)
        return false;
    headerLines_ += toAnsi(text) + kLineEnd;
    return true;
}

// Half a file would glue the next export's line onto it.
void TextStream::discardWrites() {
    failed_ = true;
    if (replacement_ || block_) {
        discard();
        return;
    }
    file_->close();
    QFile::resize(path_, 0);
}

void TextStream::discard() {
    if (replacement_)
        replacement_->discard();
    block_.reset();
}

bool TextStream::writeLine(const QString& text) {
    return write(text + QStringLiteral("\r\n"));
}

bool TextStream::fillBuffer() {
    if (readPos_ < pending_.size())
        return true;
    readPos_ = 0;
    if (!device() || !device()->isOpen() || !device()->isReadable()) {
        pending_.clear();
        return false;
    }
    // The same buffer takes every part of the file.
    pending_.resize(kReadBufferSize);
    const qint64 read = device()->read(pending_.data(), kReadBufferSize);
    pending_.resize(read > 0 ? read : 0);
    return !pending_.isEmpty();
}

bool TextStream::readLinePieces(const std::function<void(QByteArrayView)>& piece) {
    if (!fillBuffer())
        return false;
    for (;;) {
        const char* const data = pending_.constData();
        const qsizetype size = pending_.size();
        const qsizetype end = lineEndIn(data, readPos_, size);
        if (end > readPos_)
            piece(QByteArrayView(data + readPos_, end - readPos_));
        readPos_ = end;
        if (end < size)
            break;
        // The line goes on in the next part of the file, or the file ends without a
        // line end.
        if (!fillBuffer())
            return true;
    }
    const bool carriageReturn = pending_[readPos_] == '\r';
    ++readPos_;
    // The LF of a CR LF pair may lie in the next part of the file.
    if (carriageReturn && fillBuffer() && pending_[readPos_] == '\n')
        ++readPos_;
    return true;
}

std::optional<QString> TextStream::readLine() {
    QString line;
    if (!readLinePieces([&](QByteArrayView bytes) { line += fromAnsi(bytes); }))
        return std::nullopt;
    return line;
}

bool TextStream::atEnd() {
    return !fillBuffer();
}

bool TextStream::close() {
    if (block_) {
        const QByteArray block = std::move(*block_);
        block_.reset();
        // An append of nothing leaves the file as it is; a new file is made even empty.
        if (failed_ || (mode_ == Mode::Append && block.isEmpty()))
            return !failed_;
        const AppendResult added = mode_ == Mode::New ? appendOrCreate(path_, headerLines_, block)
                                                      : appendBlock(path_, block);
        leftAsFound_ = added.leftAsFound;
        if (!added.written) {
            failed_ = true;
            error_ = added.written.cause();
        }
        return !failed_;
    }
    if (!isOpen())
        return !failed_;
    if (replacement_) {
        // Synced to the disk, then renamed over the old file in one step.
        if (!replacement_->commit()) {
            failed_ = true;
            error_ = replacement_->error();
        }
        return !failed_;
    }
    const bool writing = file_->isWritable();
    errno = 0;
    const bool landed = !writing || file_->flush();
    const int cause = errno;
    file_->close();
    if (writing && (!landed || file_->error() != QFileDevice::NoError)) {
        noteError(cause);
        discardWrites();
        return false;
    }
    return !failed_;
}

} // namespace tav
