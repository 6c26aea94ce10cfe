#pragma once

// The control words the RTF reader knows. Every word maps to one Word; a word that is not in
// the table is wUnknown and is passed over.

#include <string_view>

namespace vasora::documents {

// clang-format off
enum Word : int {
    wUnknown, wPar, wLine, wTab, wCell, wRow, wNestCell, wTrowd, wCellx, wClmgf, wClmrg,
    wClvmgf, wClvmrg, wIntbl, wItap, wPard, wPlain, wB, wI, wUl, wUlnone, wStrike, wSuper, wSub,
    wNoSuperSub, wV, wF, wFs, wCf, wCb, wHighlight, wQl, wQc, wQr, wQj, wLi, wRi, wFi, wSb, wSa,
    wSl, wSlmult, wTx, wTqr, wTqc, wTqdec, wS, wOutline, wU, wUc, wBin, wEmdash, wEndash,
    wBullet, wLquote, wRquote, wLdblquote, wRdblquote, wEmspace, wEnspace, wPage, wSect, wAnsi,
    wAnsicpg, wMac, wPc, wPca, wDeff, wFcharset, wRed, wGreen, wBlue, wFonttbl, wColortbl,
    wStylesheet, wField, wFldinst, wFldrslt, wBkmkstart, wBkmkend, wPict, wPngblip, wJpegblip,
    wDibitmap, wWbitmap, wWmetafile, wEmfblip, wOtherPict, wPicw, wPich, wPicwgoal, wPichgoal,
    wPicscalex, wPicscaley, wObject, wObjw, wObjh, wResult, wShppict, wSkipDest, wCs, wDs, wTs,
    wNestRow, wNestTableProps, wFootnote, wChftn, wDo, wDptxbxtext,
    wListTable, wList, wListLevel, wLevelText, wLevelNfc, wLevelStartAt, wLevelFollow, wListId,
    wListOverrideTable, wListOverride, wLs, wIlvl, wListText, wPn, wPnLvlBody, wPnLvlBlt, wPnLvl,
    wPnDec, wPnUcLtr, wPnLcLtr, wPnUcRm, wPnLcRm, wPnStart, wPnF, wPnTxtA, wPnTxtB,
};
// clang-format on

/// The Word of a control word's name (without its backslash and parameter).
Word lookupWord(std::string_view name);

}  // namespace vasora::documents
