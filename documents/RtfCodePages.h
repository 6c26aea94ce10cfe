#pragma once

// Code pages of RTF files: which code page a font's character set stands for, and decoders for
// the bytes of a code page.

#include <QByteArray>

namespace vasora::documents {

/// The code page of an RTF font character set (\fcharsetN); 0 for the document's own.
int codePageOfCharset(int charset);

/// The name Qt's decoders know a code page by.
QByteArray codecName(int codePage);

}  // namespace vasora::documents
