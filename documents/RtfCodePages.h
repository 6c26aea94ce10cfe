#pragma once

// Code pages of RTF files: which code page a font's character set stands for, the decoders that
// read them, and the symbol fonts whose characters are no code page's at all.

#include <QByteArray>
#include <QString>

namespace vasora::documents {

/// \fcharset of the symbol fonts: their bytes are the font's own characters.
constexpr int kSymbolCharset = 2;

/// The code page of an RTF font character set (\fcharsetN); 0 for the document's own.
int codePageOfCharset(int charset);

/// The name of a decoder (as QStringDecoder knows it) that reads the code page. Mac code pages
/// that match a Windows or East Asian one closely enough borrow its decoder.
QByteArray codecName(int codePage);

/// True when b begins a character of two bytes in the code page.
bool isLeadByte(int codePage, uchar b);

enum class SymbolSet : quint8 { None, Symbol, Wingdings };

/// The symbol font a family name and character set stand for; None for every other font, and
/// for symbol fonts this reader has no table of.
SymbolSet symbolSetOf(const QString& family, int charset);

/// The Unicode character of a symbol font's character code (0x20..0xFF, or Word's private-use
/// form 0xF020..0xF0FF); the private-use form when the font has no such character.
char16_t symbolToUnicode(SymbolSet set, int code);

}  // namespace vasora::documents
