#include "documents/RtfWords.h"

#include <unordered_map>

namespace vasora::documents {

Word lookupWord(std::string_view name) {
    // clang-format off
    static const std::unordered_map<std::string_view, Word> table = {
        {"par", wPar}, {"line", wLine}, {"tab", wTab}, {"cell", wCell}, {"row", wRow},
        {"nestcell", wNestCell}, {"trowd", wTrowd}, {"cellx", wCellx}, {"clmgf", wClmgf},
        {"clmrg", wClmrg}, {"clvmgf", wClvmgf}, {"clvmrg", wClvmrg}, {"intbl", wIntbl},
        {"itap", wItap}, {"pard", wPard}, {"plain", wPlain}, {"b", wB}, {"i", wI}, {"ul", wUl},
        {"uld", wUl}, {"uldash", wUl}, {"uldashd", wUl}, {"uldashdd", wUl}, {"uldb", wUl},
        {"ulhwave", wUl}, {"ulldash", wUl}, {"ulth", wUl}, {"ulthd", wUl}, {"ulthdash", wUl},
        {"ulthdashd", wUl}, {"ulthdashdd", wUl}, {"ulthldash", wUl}, {"ululdbwave", wUl},
        {"ulw", wUl}, {"ulwave", wUl}, {"ulnone", wUlnone}, {"strike", wStrike},
        {"striked", wStrike}, {"super", wSuper}, {"sub", wSub}, {"nosupersub", wNoSuperSub},
        {"v", wV}, {"f", wF}, {"fs", wFs}, {"cf", wCf}, {"cb", wCb}, {"chcbpat", wCb},
        {"highlight", wHighlight}, {"ql", wQl}, {"qc", wQc}, {"qr", wQr}, {"qj", wQj}, {"qd", wQj},
        {"li", wLi}, {"lin", wLi}, {"ri", wRi}, {"rin", wRi}, {"fi", wFi}, {"sb", wSb}, {"sa", wSa},
        {"sl", wSl}, {"slmult", wSlmult}, {"tx", wTx}, {"tqr", wTqr}, {"tqc", wTqc},
        {"tqdec", wTqdec}, {"s", wS}, {"outlinelevel", wOutline}, {"u", wU}, {"uc", wUc},
        {"bin", wBin}, {"emdash", wEmdash}, {"endash", wEndash}, {"bullet", wBullet},
        {"lquote", wLquote}, {"rquote", wRquote}, {"ldblquote", wLdblquote},
        {"rdblquote", wRdblquote}, {"emspace", wEmspace}, {"enspace", wEnspace},
        {"qmspace", wEnspace}, {"page", wPage}, {"sect", wSect}, {"ansi", wAnsi},
        {"ansicpg", wAnsicpg}, {"mac", wMac}, {"pc", wPc}, {"pca", wPca}, {"deff", wDeff},
        {"fcharset", wFcharset}, {"red", wRed}, {"green", wGreen}, {"blue", wBlue},
        {"fonttbl", wFonttbl}, {"colortbl", wColortbl}, {"stylesheet", wStylesheet},
        {"field", wField}, {"fldinst", wFldinst}, {"fldrslt", wFldrslt}, {"bkmkstart", wBkmkstart},
        {"bkmkend", wBkmkend}, {"pict", wPict}, {"pngblip", wPngblip}, {"jpegblip", wJpegblip},
        {"dibitmap", wDibitmap}, {"wbitmap", wWbitmap}, {"wmetafile", wWmetafile},
        {"emfblip", wEmfblip}, {"macpict", wOtherPict}, {"pmmetafile", wOtherPict}, {"picw", wPicw},
        {"pich", wPich}, {"picwgoal", wPicwgoal}, {"pichgoal", wPichgoal},
        {"picscalex", wPicscalex}, {"picscaley", wPicscaley}, {"object", wObject}, {"objw", wObjw},
        {"objh", wObjh}, {"result", wResult}, {"shppict", wShppict}, {"cs", wCs}, {"ds", wDs},
        {"ts", wTs},
        // Destinations whose text is not part of the document.
        {"info", wSkipDest}, {"header", wSkipDest}, {"headerl", wSkipDest}, {"headerr", wSkipDest},
        {"headerf", wSkipDest}, {"footer", wSkipDest}, {"footerl", wSkipDest},
        {"footerr", wSkipDest}, {"footerf", wSkipDest}, {"footnote", wSkipDest},
        {"annotation", wSkipDest}, {"pn", wSkipDest}, {"listtable", wSkipDest},
        {"listoverridetable", wSkipDest}, {"revtbl", wSkipDest}, {"rsidtbl", wSkipDest},
        {"filetbl", wSkipDest}, {"nonshppict", wSkipDest}, {"xe", wSkipDest}, {"tc", wSkipDest},
        {"txe", wSkipDest}, {"do", wSkipDest}, {"objdata", wSkipDest}, {"objclass", wSkipDest},
        {"pgdsctbl", wSkipDest}, {"atnid", wSkipDest}, {"atnauthor", wSkipDest},
        {"private", wSkipDest},
    };
    // clang-format on
    const auto found = table.find(name);
    return found == table.end() ? wUnknown : found->second;
}

}  // namespace vasora::documents
