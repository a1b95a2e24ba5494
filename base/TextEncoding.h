#pragma once
// The encoding of a text file's bytes, found the one way every reader of
// text files (INI files, CSV data, old templates) uses. decodeCodePageChecked
// (CodePages.h) then says where bytes are not text.

#include <QByteArray>
#include <QString>

// Encodings of text files.
enum class TTextEncoding { Ansi, Utf16LE, Utf16BE, Utf8 };

// What detectTextEncoding found.
struct TDetectedEncoding {
    TTextEncoding Encoding = TTextEncoding::Ansi;
    int BomSize = 0; // bytes of the byte-order mark at the start, 0 without one
};

// A byte-order mark decides (UTF-16 LE, UTF-16 BE, UTF-8); without one the
// bytes are UTF-8 when they are valid UTF-8 and not plain ASCII, else ANSI
// text of some code page.
TDetectedEncoding detectTextEncoding(const QByteArray &bytes);

// True when the bytes are valid UTF-8 and hold at least one byte beyond
// ASCII. Text of an 8-bit code page such as Windows-1251 is practically
// never valid UTF-8 once it has letters beyond ASCII.
bool isUtf8Text(const char *data, qsizetype length);

// The code page number of an encoding: ansiCodePage for Ansi, 65001 for
// UTF-8, 1200 and 1201 for UTF-16 LE and BE.
int codePageOfEncoding(TTextEncoding encoding, int ansiCodePage);

// A reader's name of a code page: "UTF-8", "UTF-16LE", "UTF-16BE",
// "Windows-1251" for the ANSI pages, else "code page N".
QString codePageName(int codePage);
