#include "platform/TextFile.h"

#include "platform/AnsiText.h"
#include "platform/DiskWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toAnsi(line) + kLineEnd;
    if (!writeBytes(file, bytes)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

TextStream::TextStream(const QString& path, Mode mode)
    : path_(path), file_(std::make_unique<QFile>(path)) {
    switch (mode) {
    case Mode::Read:
        file_->open(QIODevice::ReadOnly);
        break;
    case Mode::Create:
        file_->open(QIODevice::WriteOnly | QIODevice::Truncate);
        break;
    case Mode::Append:
        if (QFileInfo(path).isFile() && file_->open(QIODevice::WriteOnly | QIODevice::Append))
            openSize_ = file_->size();
        break;
    case Mode::Replace:
        file_ = std::make_unique<QSaveFile>(path);
        file_->open(QIODevice::WriteOnly);
        break;
    }
}

TextStream::~TextStream() {
    close();
}

bool TextStream::isOpen() const {
    return file_ && file_->isOpen();
}

bool TextStream::write(const QString& text) {
    return writeRaw(toAnsi(text));
}

bool TextStream::writeRaw(QByteArrayView bytes) {
    if (failed_ || !isOpen() || !file_->isWritable()) {
        failed_ = true;
        return false;
    }
    if (!writeBytes(*file_, bytes))
        discardWrites();
    return !failed_;
}

// Half a block in a layout file would glue the next export's line onto it.
void TextStream::discardWrites() {
    failed_ = true;
    if (auto* replacement = qobject_cast<QSaveFile*>(file_.get())) {
        replacement->cancelWriting();
        replacement->commit(); // removes the new file only
        return;
    }
    file_->close();
    QFile::resize(path_, openSize_);
}

bool TextStream::writeLine(const QString& text) {
    return write(text + QStringLiteral("\r\n"));
}

bool TextStream::fillBuffer() {
    if (readPos_ < pending_.size())
        return true;
    readPos_ = 0;
    if (!isOpen() || !file_->isReadable()) {
        pending_.clear();
        return false;
    }
    // The same buffer takes every part of the file.
    pending_.resize(kReadBufferSize);
    const qint64 read = file_->read(pending_.data(), kReadBufferSize);
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
    if (!file_ || !file_->isOpen())
        return !failed_;
    if (auto* replacement = qobject_cast<QSaveFile*>(file_.get())) {
        // Flushed to the disk, then renamed over the old file in one step.
        if (!replacement->commit())
            failed_ = true;
        return !failed_;
    }
    const bool writing = file_->isWritable();
    const bool flushed = !writing || file_->flush();
    file_->close();
    if (writing && (!flushed || file_->error() != QFileDevice::NoError))
        discardWrites();
    return !failed_;
}

} // namespace tav
