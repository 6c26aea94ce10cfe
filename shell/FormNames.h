#pragma once

// The program's windows by name. Windows refer to one another only through these constants, so
// a misspelt window name does not compile; the name is also the window's object name.

#include <QString>
#include <string_view>

namespace vasora::forms {

class FormName final {
  public:
    constexpr explicit FormName(const char* name) : m_name(name) {}
    constexpr std::string_view view() const { return m_name; }
    QString str() const { return QString::fromLatin1(m_name); }
    friend constexpr bool operator==(const FormName& a, const FormName& b) {
        return std::string_view(a.m_name) == std::string_view(b.m_name);
    }

  private:
    const char* m_name;
};

inline constexpr FormName frmMain{"frmMain"};
inline constexpr FormName frmClearScreen{"frmClearScreen"};
inline constexpr FormName frmActive{"frmActive"};
// The model workbench.
inline constexpr FormName frmCVModel{"frmCVModel"};
inline constexpr FormName frmPlotData{"frmPlotData"};
inline constexpr FormName frmChangeParam{"frmChangeParam"};
inline constexpr FormName frmChangeVol{"frmChangeVol"};
inline constexpr FormName frmChangePit{"frmChangePit"};
inline constexpr FormName frmLayout{"frmLayout"};
inline constexpr FormName frmPlot{"frmPlot"};
inline constexpr FormName frmDiagram{"frmDiagram"};
// Options.
inline constexpr FormName frmOptions{"frmOptions"};
inline constexpr FormName frmOptionHelp{"frmOptionHelp"};
// Documents and the lab book.
inline constexpr FormName frmInfo{"frmInfo"};
inline constexpr FormName frmHelp{"frmHelp"};
inline constexpr FormName frmImage{"frmImage"};
inline constexpr FormName frmConcepts{"frmConcepts"};
inline constexpr FormName frmLBUser{"frmLBUser"};
inline constexpr FormName frmDisplay{"frmDisplay"};
inline constexpr FormName frmLBSave{"frmLBSave"};

}  // namespace vasora::forms
