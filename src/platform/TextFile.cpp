#include "platform/TextFile.h"

#include "platform/AnsiText.h"
#include "platform/DurableFile.h"

#include <QFile>
#include <QFileInfo>

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

bool replaceFileLines(const QString& path, const QStringList& lines, bool mustExist) {
    if (mustExist && !QFileInfo(path).isFile())
        return false;
    FileReplacement file(path);
    if (!file.open())
        return false;
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toAnsi(line) + kLineEnd;
    return file.write(bytes) && file.commit();
}

TextStream::TextStream(const QString& path, Mode mode, const QString& replacementPath)
    : path_(path) {
    switch (mode) {
    case Mode::Read:
        file_ = std::make_unique<QFile>(path);
        file_->open(QIODevice::ReadOnly);
        break;
    case Mode::Create:
        file_ = std::make_unique<QFile>(path);
        file_->open(QIODevice::WriteOnly | QIODevice::Truncate);
        break;
    case Mode::Append:
        openForAppend();
        break;
    case Mode::Replace:
        replacement_ = std::make_unique<FileReplacement>(path, replacementPath);
        replacement_->open();
        break;
    }
}

// The old length is on the disk before the first byte is appended, and the record goes
// only once the appended bytes are on the disk too.
void TextStream::openForAppend() {
    file_ = std::make_unique<QFile>(path_);
    if (!QFileInfo(path_).isFile() || !undoUnfinishedAppend(path_) ||
        !file_->open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    openSize_ = file_->size();
    appendRecorded_ = recordAppend(path_, openSize_);
    if (!appendRecorded_)
        file_->close();
}

// A replacement that was never closed was broken off: it never takes the old file's
// place.
TextStream::~TextStream() {
    if (replacement_)
        replacement_->discard();
    else
        close();
}

QFileDevice* TextStream::device() const {
    if (replacement_)
        return &replacement_->file();
    return file_.get();
}

bool TextStream::isOpen() const {
    return device() && device()->isOpen();
}

bool TextStream::write(const QString& text) {
    return writeRaw(toAnsi(text));
}

bool TextStream::writeRaw(QByteArrayView bytes) {
    QFileDevice* const file = device();
    if (failed_ || !isOpen() || !file->isWritable()) {
        failed_ = true;
        return false;
    }
    if (file->write(bytes.data(), bytes.size()) != bytes.size())
        discardWrites();
    return !failed_;
}

// Half a block in a layout file would glue the next export's line onto it.
void TextStream::discardWrites() {
    failed_ = true;
    if (replacement_) {
        replacement_->discard();
        return;
    }
    file_->close();
    if (QFile::resize(path_, openSize_) && appendRecorded_) {
        QFile cut(path_);
        if (cut.open(QIODevice::ReadWrite) && syncToDisk(cut))
            appendRecorded_ = !finishAppend(path_);
    }
}

void TextStream::discard() {
    if (replacement_)
        replacement_->discard();
}

bool TextStream::writeLine(const QString& text) {
    return write(text + QStringLiteral("\r\n"));
}

bool TextStream::fillBuffer() {
    if (readPos_ < pending_.size())
        return true;
    readPos_ = 0;
    if (!isOpen() || !device()->isReadable()) {
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
    if (!isOpen())
        return !failed_;
    if (replacement_) {
        // Synced to the disk, then renamed over the old file in one step.
        if (!replacement_->commit())
            failed_ = true;
        return !failed_;
    }
    const bool writing = file_->isWritable();
    const bool landed = !writing || (appendRecorded_ ? syncToDisk(*file_) : file_->flush());
    file_->close();
    if (writing && (!landed || file_->error() != QFileDevice::NoError)) {
        discardWrites();
        return false;
    }
    if (appendRecorded_)
        appendRecorded_ = !finishAppend(path_);
    return !failed_;
}

} // namespace tav
