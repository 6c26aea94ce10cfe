#include "documents/RtfCodePages.h"

namespace vasora::documents {

int codePageOfCharset(int charset) {
    switch (charset) {
        case 0:
            return 1252;
        case 77:
            return 10000;  // Mac Roman
        case 78:
            return 10001;  // Mac Japanese
        case 79:
            return 10003;  // Mac Korean
        case 80:
            return 10008;  // Mac simplified Chinese
        case 81:
            return 10002;  // Mac traditional Chinese
        case 83:
            return 10005;  // Mac Hebrew
        case 84:
            return 10004;  // Mac Arabic
        case 85:
            return 10006;  // Mac Greek
        case 86:
            return 10081;  // Mac Turkish
        case 87:
            return 10021;  // Mac Thai
        case 88:
            return 10029;  // Mac Central European
        case 89:
            return 10007;  // Mac Cyrillic
        case 128:
            return 932;
        case 129:
            return 949;
        case 130:
            return 1361;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        default:
            return 0;  // the default set, symbol fonts and others: the document's code page
    }
}

QByteArray codecName(int codePage) {
    switch (codePage) {
        case 437:
            return "IBM437";
        case 850:
            return "IBM850";
        case 10000:
            return "macintosh";
        // The Mac East Asian code pages are the common ones of their scripts, give or take a
        // few symbols.
        case 10001:
            return "Shift_JIS";
        case 10002:
            return "Big5";
        case 10003:
            return "EUC-KR";
        case 10008:
            return "GB2312";
        case 65001:
            return "UTF-8";
        default:
            return "windows-" + QByteArray::number(codePage);
    }
}

bool isLeadByte(int codePage, uchar b) {
    switch (codePage) {
        case 932:
        case 10001:
            return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        case 936:
        case 949:
        case 950:
        case 1361:
        case 10002:
        case 10003:
        case 10008:
            return b >= 0x81 && b <= 0xFE;
        default:
            return false;
    }
}

}  // namespace vasora::documents
