#include "shell/Navigation.h"

#include <vector>

#include "shell/Forms.h"

namespace vasora::shell {

namespace {
std::vector<forms::FormName>& hiddenOnReturn() {
    static std::vector<forms::FormName> names;
    return names;
}
std::function<bool()> g_showLabBook;
std::function<void()> g_offerFileHelp;
}  // namespace

void setLabBookShower(std::function<bool()> show) {
    g_showLabBook = std::move(show);
}

bool showLabBook() {
    return g_showLabBook && g_showLabBook();
}

void setFileHelpOffer(std::function<void()> offer) {
    g_offerFileHelp = std::move(offer);
}

void offerFileHelp() {
    if (g_offerFileHelp) g_offerFileHelp();
}

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
    g_showLabBook = {};
    g_offerFileHelp = {};
}

}  // namespace vasora::shell
