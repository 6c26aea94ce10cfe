#include "documents/RtfCodePages.h"

namespace vasora::documents {

namespace {

// \fcharsetN and the code page it stands for.
struct CharsetPage {
    int charset;
    int codePage;
};
constexpr CharsetPage kCharsetPages[] = {
    {0, 1252},   {77, 10000},  // Mac Roman
    {78, 10001},               // Mac Japanese
    {79, 10003},               // Mac Korean
    {80, 10008},               // Mac simplified Chinese
    {81, 10002},               // Mac traditional Chinese
    {83, 10005},               // Mac Hebrew
    {84, 10004},               // Mac Arabic
    {85, 10006},               // Mac Greek
    {86, 10081},               // Mac Turkish
    {87, 10021},               // Mac Thai
    {88, 10029},               // Mac Central European
    {89, 10007},               // Mac Cyrillic
    {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},
    {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
    {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {254, 437},
};

}  // namespace

int codePageOfCharset(int charset) {
    for (const CharsetPage& row : kCharsetPages)
        if (row.charset == charset) return row.codePage;
    return 0;  // the default set, symbol fonts and others: the document's code page
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
