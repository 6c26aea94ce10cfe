#include "labbook/frmDisplay.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <vector>

#include "core/Twips.h"
#include "documents/BusyWindows.h"
#include "documents/ContentsTree.h"
#include "documents/EmbeddedObjects.h"
#include "documents/ScrivoControl.h"
#include "documents/TagStyles.h"
#include "labbook/LabBookSave.h"
#include "labbook/LabBookTagEvent.h"
#include "labbook/TypingGuard.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/Navigation.h"
#include "shell/WindowPlacement.h"
#include "workbench/CVModelActions.h"

namespace vasora::labbook {

using documents::ScrivoControl;

namespace {

// How far the text stands aside for the contents tree when it is shown, and the margin the
// text keeps; in twips, as the window was designed.
constexpr int kTreeShift = 4000;
constexpr int kTreeMargin = 300;
constexpr int kTextMargin = 100;
// Beside the model window on a small screen the display is narrow; the tree then takes this
// share of its width at most, so that the text keeps room for its tables.
constexpr double kTreeShareNarrow = 0.3;
constexpr int kMinTreeWidth = 150;  // pixels
// The width of a compiled lab book's tables, pixels. A display narrower than the tree and such a
// table (beside the model window on a 1366-pixel screen) starts with its tree hidden, so that the
// table the learner fills is in view; the button shows the tree.
constexpr int kTablePage = 600;

const QString kRootText = QStringLiteral("Lab Book Contents");

}  // namespace

frmDisplay::frmDisplay(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(forms::frmDisplay.str());
    setWindowTitle(QStringLiteral("Lab Book Display"));
    m_text = new ScrivoControl(QStringLiteral("scrivoLabBook"), this);
    m_text->setTagStylePolicy(documents::labBookTagStyle());
    m_guard = new TypingGuard(m_text);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treContents"));
    m_tree->setHeaderHidden(true);

    m_plotData = button("cmdPlotData", QStringLiteral("Show Plot of Data"));
    m_saveLB = button("cmdSaveLB", QStringLiteral("Save LB"));
    m_loadModel = button("cmdLoadModel", QStringLiteral(" Show Model"));
    m_buildTree = button("cmdBuildTree", QStringLiteral("&Build TOC tree"));
    m_showHide = button("cmdSHContents", QStringLiteral("Hide Table of Contents"),
                        QStringLiteral("Show / Hide Table of Contents."));
    m_mainMenu = button("cmdMainMenu", QStringLiteral(" To Main  Menu"),
                        QStringLiteral("Close the Lab Book window."));
    m_expose = new QLabel(QStringLiteral("      Show          Lab Book"), this);
    m_expose->setObjectName(QStringLiteral("lblExpose"));

    connect(m_plotData, &QPushButton::clicked, this, [] { workbench::clickPlotData(); });
    connect(m_loadModel, &QPushButton::clicked, this, [] {
        forms::show(forms::frmCVModel);
        forms::hide(forms::frmPlotData);
    });
    connect(m_mainMenu, &QPushButton::clicked, this, [] { shell::returnToMainMenu(); });
    connect(m_buildTree, &QPushButton::clicked, this, [this] { buildTree(); });
    connect(m_showHide, &QPushButton::clicked, this, [this] { showHideContents(); });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) {
        const int paragraph = documents::contentsNodeClicked(*m_text, node);
        if (paragraph < 0) return;
        m_state.RememberedPara = paragraph;
        m_state.RememberedOffset = 0;
    });
    connect(m_text, &ScrivoControl::TagClick, this, [this] { labBookTagEvent(*this); });
    m_text->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_text, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showTextMenu(at); });

    resize(560, 680);
    indexControls(this);
}

QPushButton* frmDisplay::button(const char* name, const QString& caption, const QString& tip) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty()) b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

void frmDisplay::load() {
    m_text->setPointerShape(documents::kPointerText);
    m_buildTree->hide();
    m_saveLB->hide();
    m_showHide->setText(appState().LabBookTreeShown ? QStringLiteral("Hide Table of Contents")
                                                    : QStringLiteral("Show Table of Contents"));
    // The chosen book is read when the display is shown (showEvent), once.
    layoutControls();
}

void frmDisplay::loadChosen() {
    AppState& a = appState();
    if (a.LabBookState != kLabBookChosen) return;
    const QString file = existingPath(a.LabBookFile);
    // Chosen again, the book that is open stays as the learner left it.
    if (!m_loadedFile.isEmpty() && sameFile(file, m_loadedFile)) {
        a.LabBookState = kLabBookLoaded;
        return;
    }
    documents::BusyNotice busy;
    m_loadedFile.clear();
    if (const QString why = whyNotALabBook(file); !why.isEmpty()) {
        // Nothing stale of an earlier book stays in view.
        leaveEmpty();
        ui::messageBox(why, {}, this);
        return;
    }
    m_text->setFileName(file);
    m_text->setFileFormat(documents::kFormatRichText);
    m_text->setPointerShape(documents::kPointerBusy);
    const bool complete = m_text->setLoadNow(1);
    m_text->setPointerShape(documents::kPointerText);
    TypingGuard::keepBlankFieldsVisible(*m_text->document());
    m_text->setCursorPara(0);
    m_text->setCursorChar(0);
    m_text->hide();
    buildTree();
    m_text->show();
    m_state = {};
    // A book read only in part is shown as far as it was read, but it is not the learner's
    // whole book: it is not taken as loaded, so it is never saved over the file.
    if (!complete) return;
    m_loadedFile = file;
    a.LabBookState = kLabBookLoaded;
    layoutControls();
}

void frmDisplay::leaveEmpty() {
    m_text->document()->clear();
    m_text->document()->setModified(false);
    m_text->setCursorPara(0);
    m_text->setCursorChar(0);
    buildTree();
    m_state = {};
}

void frmDisplay::showTextMenu(const QPoint& at) {
    // A right click away from the selection puts the cursor where it was made, as a word
    // processor does; on the selection it keeps it, to be copied.
    QTextCursor c = m_text->textCursor();
    const int clicked = m_text->cursorForPosition(at).position();
    if (!c.hasSelection() || clicked < c.selectionStart() || clicked > c.selectionEnd()) {
        c.setPosition(clicked);
        m_text->setTextCursor(c);
    }
    // The text's own menu, which copies, and the one edit offered by menu: an object put into
    // the free-typing field the cursor stands in.
    const std::unique_ptr<QMenu> menu(m_text->createStandardContextMenu(at));
    menu->setObjectName(QStringLiteral("mnuText"));
    menu->addSeparator();
    QAction* insert = menu->addAction(QStringLiteral("Insert Object\u2026"));
    insert->setObjectName(QStringLiteral("mnuInsertObject"));
    insert->setEnabled(m_text->embeddedObjects().available() && m_guard->mayInsertObject());
    if (menu->exec(m_text->viewport()->mapToGlobal(at)) == insert)
        m_guard->insertObject(QStringLiteral("*"));
}

void frmDisplay::buildTree() {
    documents::BuildContentsTree(*m_text, *m_tree, {kRootText, false});
}

bool frmDisplay::changedSinceSaved() const {
    return !m_loadedFile.isEmpty() && m_text->document()->isModified();
}

void frmDisplay::layoutControls() {
    const int w = width(), h = height();
    const bool treeShown = appState().LabBookTreeShown;
    const int treeW = std::clamp(int(w * kTreeShareNarrow), kMinTreeWidth,
                                 twips(kTreeShift) - twips(kTreeMargin) / 2);
    const int textLeft = treeShown ? treeW + twips(kTreeMargin) / 2 : twips(kTextMargin);
    // The buttons along the bottom, in as many rows as the width asks for (a narrow display on
    // a screen scaled up to 200 % needs two).
    std::vector<QWidget*> row;
    for (QPushButton* b : {m_showHide, m_loadModel, m_plotData, m_buildTree, m_saveLB})
        if (!b->isHidden()) row.push_back(b);
    row.push_back(m_mainMenu);
    auto widthOf = [](QWidget* b) { return std::max(b->sizeHint().width(), 80); };
    int rows = 1, used = 6;
    for (QWidget* b : row) {
        if (used + widthOf(b) + 6 > w && used > 6) ++rows, used = 6;
        used += widthOf(b) + 6;
    }
    const int buttonArea = rows * 36 + 8;
    // A very small window gets the smallest sensible layout rather than negative sizes.
    const int textW = std::max(80, w - textLeft - twips(kTextMargin));
    const int textH = std::max(60, h - 12 - buttonArea);
    m_text->setGeometry(textLeft, 4, textW, textH);
    m_tree->setGeometry(4, 4, treeW - 4, textH);
    m_tree->setVisible(treeShown);
    m_text->setLineWidth(0.95 * toTwips(textW));

    // The main menu button keeps the right end of the last row; the label goes where there is
    // room for it.
    int y = h - 4 - rows * 36;
    int x = 6;
    for (QWidget* b : row) {
        const int bw = widthOf(b);
        if (x + bw + 6 > w && x > 6) y += 36, x = 6;
        if (b == m_mainMenu && y == h - 40) x = std::max(x, w - bw - 6);
        b->setGeometry(x, y, bw, 32);
        x += bw + 6;
    }
    const int labelW = m_expose->sizeHint().width();
    const int lastRowEnd = m_mainMenu->x();
    const int labelX = m_plotData->isHidden() ? 6 : m_plotData->geometry().right() + 6;
    m_expose->setGeometry(labelX, m_plotData->y(), labelW, 32);
    m_expose->setVisible(m_plotData->y() == m_mainMenu->y() && labelX + labelW + 6 <= lastRowEnd);
}

void frmDisplay::showHideContents() {
    forms::hide(forms::frmImage);
    AppState& a = appState();
    m_showHide->setText(a.LabBookTreeShown ? QStringLiteral("Show Table of Contents")
                                           : QStringLiteral("Hide Table of Contents"));
    a.LabBookTreeShown = !a.LabBookTreeShown;
    layoutControls();
    scrollToRemembered();
}

void frmDisplay::scrollToRemembered() {
    qint32 x = 0, y = 0;
    ScrivoAPI::SCRIVO_CURTOXY(*m_text, m_state.RememberedPara, 0, x, y);
    m_text->setScrollTop(y - m_state.RememberedOffset);
}

void frmDisplay::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // A lab book chosen since the display was last shown is loaded now.
    loadChosen();
    // Beside the model window, in the one placement of the workbench's windows.
    shell::setLabBookPlaced(true);
    shell::placeWorkbenchWindows();
    if (!m_widthChecked) {
        m_widthChecked = true;
        if (appState().LabBookTreeShown && width() < twips(kTreeShift) + kTablePage + 20)
            showHideContents();
    }
    layoutControls();
}

void frmDisplay::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    shell::setLabBookPlaced(false);
}

void frmDisplay::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutControls();
}

void frmDisplay::closeEvent(QCloseEvent* e) {
    // Closing the display by its frame goes back to the main menu, as its button does.
    e->ignore();
    shell::returnToMainMenu();
}

}  // namespace vasora::labbook
