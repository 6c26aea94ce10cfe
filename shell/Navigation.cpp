#include "shell/Navigation.h"

#include <vector>

#include "shell/Forms.h"

namespace vasora::shell {

namespace {
std::vector<forms::FormName>& hiddenOnReturn() {
    static std::vector<forms::FormName> names;
    return names;
}
}  // namespace

void hideOnReturnToMainMenu(forms::FormName name) {
    auto& names = hiddenOnReturn();
    for (const forms::FormName& n : names)
        if (n == name) return;
    names.push_back(name);
}

void returnToMainMenu() {
    for (const forms::FormName& n : hiddenOnReturn()) forms::hide(n);
    forms::show(forms::frmMain);
}

void resetNavigation() {
    hiddenOnReturn().clear();
}

}  // namespace vasora::shell
