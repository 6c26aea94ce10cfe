#include "documents/RtfWords.h"

#include <unordered_map>

namespace vasora::documents {

namespace {

// The control words the reader knows, and the word each stands for.
struct NamedWord {
    std::string_view name;
    Word word;
};

// clang-format off
constexpr NamedWord kWords[] = {
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
        {"ts", wTs}, {"nestrow", wNestRow}, {"nesttableprops", wNestTableProps},
        {"nonesttables", wSkipDest}, {"footnote", wFootnote}, {"chftn", wChftn}, {"do", wDo},
        {"dptxbxtext", wDptxbxtext},
        // Lists, and the paragraph numbers of old files.
        {"listtable", wListTable}, {"list", wList}, {"listlevel", wListLevel},
        {"leveltext", wLevelText}, {"levelnfc", wLevelNfc}, {"levelnfcn", wLevelNfc},
        {"levelstartat", wLevelStartAt}, {"levelfollow", wLevelFollow}, {"listid", wListId},
        {"listoverridetable", wListOverrideTable}, {"listoverride", wListOverride}, {"ls", wLs},
        {"ilvl", wIlvl}, {"listtext", wListText}, {"pntext", wListText}, {"pn", wPn},
        {"pnlvlbody", wPnLvlBody}, {"pnlvlblt", wPnLvlBlt}, {"pnlvl", wPnLvl}, {"pndec", wPnDec},
        {"pnucltr", wPnUcLtr}, {"pnlcltr", wPnLcLtr}, {"pnucrm", wPnUcRm}, {"pnlcrm", wPnLcRm},
        {"pnstart", wPnStart}, {"pnf", wPnF}, {"pntxta", wPnTxtA}, {"pntxtb", wPnTxtB},
        {"levelnumbers", wSkipDest},
        // Destinations whose text is not part of the document. Word marks most of them with
        // \*, but a damaged file may have lost it, and their contents (themes, XML, data in
        // hexadecimal) must not come out as text: these are skipped with or without it.
        {"aftncn", wSkipDest}, {"aftnsep", wSkipDest}, {"aftnsepc", wSkipDest},
        {"annotation", wSkipDest}, {"atnauthor", wSkipDest}, {"atndate", wSkipDest},
        {"atnicn", wSkipDest}, {"atnid", wSkipDest}, {"atnparent", wSkipDest},
        {"atnref", wSkipDest}, {"atntime", wSkipDest}, {"atrfend", wSkipDest},
        {"atrfstart", wSkipDest}, {"author", wSkipDest}, {"background", wSkipDest},
        {"blipuid", wSkipDest}, {"buptim", wSkipDest}, {"category", wSkipDest},
        {"colorschememapping", wSkipDest}, {"comment", wSkipDest}, {"company", wSkipDest},
        {"creatim", wSkipDest}, {"datafield", wSkipDest}, {"datastore", wSkipDest},
        {"defchp", wSkipDest}, {"defpap", wSkipDest}, {"doccomm", wSkipDest},
        {"docvar", wSkipDest}, {"ebcend", wSkipDest}, {"ebcstart", wSkipDest},
        {"factoidname", wSkipDest}, {"falt", wSkipDest}, {"fchars", wSkipDest},
        {"ffdeftext", wSkipDest}, {"ffentrymcr", wSkipDest}, {"ffexitmcr", wSkipDest},
        {"ffformat", wSkipDest}, {"ffhelptext", wSkipDest}, {"ffl", wSkipDest},
        {"ffname", wSkipDest}, {"ffstattext", wSkipDest}, {"file", wSkipDest},
        {"filetbl", wSkipDest}, {"fldtype", wSkipDest}, {"fname", wSkipDest},
        {"fontemb", wSkipDest}, {"fontfile", wSkipDest}, {"footer", wSkipDest},
        {"footerf", wSkipDest}, {"footerl", wSkipDest}, {"footerr", wSkipDest},
        {"ftncn", wSkipDest}, {"ftnsep", wSkipDest},
        {"ftnsepc", wSkipDest}, {"generator", wSkipDest}, {"gridtbl", wSkipDest},
        {"header", wSkipDest}, {"headerf", wSkipDest}, {"headerl", wSkipDest},
        {"headerr", wSkipDest}, {"hlfr", wSkipDest}, {"hlinkbase", wSkipDest},
        {"hlloc", wSkipDest}, {"hlsrc", wSkipDest}, {"hsv", wSkipDest}, {"htmltag", wSkipDest},
        {"info", wSkipDest}, {"keycode", wSkipDest}, {"keywords", wSkipDest},
        {"latentstyles", wSkipDest}, {"lchars", wSkipDest}, {"listname", wSkipDest},
        {"listpicture", wSkipDest},
        {"liststylename", wSkipDest}, {"lsdlockedexcept", wSkipDest},
        {"mailmerge", wSkipDest}, {"manager", wSkipDest}, {"mhtmltag", wSkipDest},
        {"mmathPr", wSkipDest}, {"nextfile", wSkipDest}, {"nonshppict", wSkipDest},
        {"objalias", wSkipDest}, {"objclass", wSkipDest}, {"objdata", wSkipDest},
        {"objname", wSkipDest}, {"objsect", wSkipDest}, {"objtime", wSkipDest},
        {"oldcprops", wSkipDest}, {"oldpprops", wSkipDest}, {"oldsprops", wSkipDest},
        {"oldtprops", wSkipDest}, {"oleclsid", wSkipDest}, {"operator", wSkipDest},
        {"panose", wSkipDest}, {"password", wSkipDest}, {"passwordhash", wSkipDest},
        {"pgdsctbl", wSkipDest}, {"pgp", wSkipDest}, {"pgptbl", wSkipDest},
        {"picprop", wSkipDest}, {"pnseclvl", wSkipDest},
        {"printim", wSkipDest}, {"private", wSkipDest}, {"propname", wSkipDest},
        {"protend", wSkipDest}, {"protstart", wSkipDest}, {"protusertbl", wSkipDest},
        {"pxe", wSkipDest}, {"revtbl", wSkipDest}, {"revtim", wSkipDest},
        {"rsidtbl", wSkipDest}, {"rxe", wSkipDest}, {"shpinst", wSkipDest},
        {"shptxt", wSkipDest}, {"sn", wSkipDest}, {"sp", wSkipDest}, {"staticval", wSkipDest},
        {"subject", wSkipDest}, {"sv", wSkipDest}, {"svb", wSkipDest}, {"tc", wSkipDest},
        {"template", wSkipDest}, {"themedata", wSkipDest}, {"title", wSkipDest},
        {"txe", wSkipDest}, {"userprops", wSkipDest}, {"wgrffmtfilter", wSkipDest},
        {"windowcaption", wSkipDest}, {"writereservation", wSkipDest},
        {"writereservhash", wSkipDest}, {"xe", wSkipDest}, {"xform", wSkipDest},
        {"xmlattrname", wSkipDest}, {"xmlattrvalue", wSkipDest}, {"xmlclose", wSkipDest},
        {"xmlname", wSkipDest}, {"xmlnstbl", wSkipDest}, {"xmlopen", wSkipDest},
};
// clang-format on

}  // namespace

Word lookupWord(std::string_view name) {
    static const std::unordered_map<std::string_view, Word> table = [] {
        std::unordered_map<std::string_view, Word> t;
        for (const NamedWord& w : kWords) t.emplace(w.name, w.word);
        return t;
    }();
    const auto found = table.find(name);
    return found == table.end() ? wUnknown : found->second;
}

}  // namespace vasora::documents
