#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The program's text files are single-byte text in the Western Windows code page
// (1252), as the benches' scanners and databases wrote them.
namespace tav {

// Every byte gives one character. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) give the control characters of the same number, so they come
// back as the same byte when written.
QString fromAnsi(QByteArrayView bytes);

// One byte for each character; a character the code page cannot hold is written "?".
QByteArray toAnsi(QStringView text);

// True when every character has its byte in the code page, so toAnsi loses nothing.
bool fitsAnsi(QStringView text);

// True when the text can stand in the name of a folder or file the program makes or
// writes: it fits the code page and holds no "?", which in a text read back from one of
// the files may stand for a character that was lost on the way in.
bool isAnsiName(QStringView text);

} // namespace tav
