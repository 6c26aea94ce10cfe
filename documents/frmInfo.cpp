#include "documents/frmInfo.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

#include "core/CV_Nav.h"
#include "core/TagCodes.h"
#include "core/Twips.h"
#include "documents/BusyWindows.h"
#include "documents/ContentsTree.h"
#include "documents/ScrivoControl.h"
#include "documents/TagStyles.h"
#include "documents/frmImage.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/Navigation.h"

namespace vasora::documents {

namespace {

// How far the text moves aside for the contents tree.
constexpr int kTreeShift = 4000;  // twips

}  // namespace

frmInfo::frmInfo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(forms::frmInfo.str());
    setWindowTitle(
        QStringLiteral("Vasora Project Instructions      Model description      Basic "
                       "Physiology text     Lab Book results discussion"));
    m_text = new ScrivoControl(QStringLiteral("scrivoInfo"), this);
    m_text->setTagStylePolicy(infoTagStyle());
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treInfo"));
    m_tree->setHeaderHidden(true);

    m_back = button("cmdBack", QStringLiteral("Go back"));
    m_forward = button("cmdForward", QStringLiteral(" Go frwrd"));
    m_index = button("cmdIndex", QStringLiteral("   Go to     Index "));
    m_showHide = button("cmdSHContents", QStringLiteral("&Hide Table of Contents"),
                        QStringLiteral("Show / Hide Table of Contents"));
    m_buildTree = button("cmdBuildTree", QStringLiteral("Build TOC tree"),
                         QStringLiteral("Build the table of contents"));
    m_return = button("cmdReturn", QStringLiteral("    Return  to    Lab Book"),
                      QStringLiteral("Close the Information Window"));
    m_toMain = button("cmdToMain", QStringLiteral(" To  &Main Menu"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("txtFind"));
    m_find->setPlaceholderText(QStringLiteral("Find in the text (Ctrl+F)"));
    m_find->setToolTip(QStringLiteral("Type a word and press Enter; Enter again finds the next"));
    m_find->setClearButtonEnabled(true);

    connect(m_back, &QPushButton::clicked, this, [this] { walkHistory(true); });
    connect(m_forward, &QPushButton::clicked, this, [this] { walkHistory(false); });
    connect(m_index, &QPushButton::clicked, this, [this] { scrollToParagraph(m_indexPara); });
    connect(m_showHide, &QPushButton::clicked, this, [this] { showHideContents(); });
    connect(m_buildTree, &QPushButton::clicked, this, [this] {
        m_indexPara = BuildContentsTree(*m_text, *m_tree,
                                        {QStringLiteral("Information file Contents"), true});
    });
    connect(m_return, &QPushButton::clicked, this, [this] { returnClicked(); });
    connect(m_toMain, &QPushButton::clicked, this, [this] { toMainClicked(); });
    connect(m_text, &ScrivoControl::TagClick, this, [this] { tagClicked(); });
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { contentsNodeClicked(*m_text, item); });
    connect(m_find, &QLineEdit::returnPressed, this, [this] {
        if (!findNext(m_find->text()) && !m_find->text().isEmpty())
            ui::messageBox(
                QStringLiteral("\"%1\" is not in the information text.").arg(m_find->text()), {},
                this);
    });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        m_find->setFocus();
        m_find->selectAll();
    });

    resize(980, 680);
    indexControls(this);
}

QPushButton* frmInfo::button(const char* name, const QString& caption, const QString& tip) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty()) b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

void frmInfo::load() {
    BusyNotice busy;
    AppState& a = appState();
    m_text->setPointerShape(kPointerText);
    m_text->setFileName(a.InfoFile);
    m_text->setFileFormat(kFormatRichText);
    m_text->setReadOnly(true);
    m_text->setLoadNow(1);
    m_buildTree->show();
    m_index->show();
    m_text->setCursorPara(0);
    m_text->setCursorChar(0);
    m_text->show();
    m_indexPara =
        BuildContentsTree(*m_text, *m_tree, {QStringLiteral("Information file Contents"), true});
    m_buildTree->hide();
    m_linkFromPara = m_linkFromChar = 0;
    // The tree starts hidden: the flag set at start-up is turned over.
    a.InfoTreeShown = !a.InfoTreeShown;
    m_tree->setVisible(a.InfoTreeShown);
    m_showHide->setText(a.InfoTreeShown ? QStringLiteral("Hide Table of Contents")
                                        : QStringLiteral("Show Table of Contents"));
    a.InfoState = kInfoLoaded;
    layoutControls();
}

void frmInfo::layoutControls() {
    const int w = width(), h = height();
    // A very small window gets the smallest sensible layout rather than negative sizes.
    const int textH = std::max(60, h - 52);
    const int shift = twips(kTreeShift);
    const bool treeShown = appState().InfoTreeShown;
    const int textLeft = treeShown ? shift : twips(100);
    const int textW = std::max(80, w - textLeft - twips(100));
    m_text->setGeometry(textLeft, 4, textW, textH);
    m_tree->setGeometry(4, 4, shift - 10, textH);
    m_text->setLineWidth(0.95 * toTwips(textW));
    // The buttons along the bottom.
    const int y = h - 40;
    int x = 6;
    for (QWidget* b : std::initializer_list<QWidget*>{m_back, m_forward, m_index, m_showHide,
                                                      m_buildTree, m_find, m_return, m_toMain}) {
        if (b->isHidden() && b != m_find) continue;
        const int bw =
            b == m_find ? std::clamp(w - x - 330, 120, 260) : std::max(b->sizeHint().width(), 80);
        b->setGeometry(x, y, bw, 32);
        x += bw + 6;
    }
}

void frmInfo::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutControls();
}

void frmInfo::closeEvent(QCloseEvent* e) {
    // Closing the viewer by its frame goes back where Return goes.
    e->ignore();
    returnClicked();
}

void frmInfo::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && m_find->hasFocus()) {
        m_text->setFocus();
        return;
    }
    QWidget::keyPressEvent(e);
}

void frmInfo::scrollToParagraph(int paragraph) {
    qint32 x = 0, y = 0;
    ScrivoAPI::SCRIVO_CURTOXY(*m_text, paragraph, 0, x, y);
    m_text->setScrollTop(y);
}

void frmInfo::updateHistoryButtons() {
    m_back->setEnabled(nav::canGoBack());
    m_forward->setEnabled(nav::canGoForward());
}

bool frmInfo::followAnchor(int anchorCode, bool reportMissing) {
    m_linkFromChar = m_text->CursorChar();
    m_linkFromPara = m_text->CursorPara();
    m_text->setCursorPara(0);
    m_text->setCursorChar(0);
    if (ScrivoAPI::FIND_HTAG(*m_text, anchorCode, 1) <= 0) {
        if (reportMissing)
            ui::messageBox(QStringLiteral("No matching tag: ") + QLatin1Char(' ') +
                               QString::number(anchorCode),
                           QStringLiteral("Note"), this);
        return false;
    }
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    for (int para : {m_linkFromPara, int(m_text->CursorPara())})
        if (!nav::PushPosition(para)) ui::messageBox(QString::fromLatin1(nav::kStackFullMessage));
    updateHistoryButtons();
    scrollToParagraph(m_text->CursorPara());
    return true;
}

void frmInfo::tagClicked() {
    std::int16_t kind = 0, p2 = 0, p3 = 0, p4 = 0;
    const int code = m_text->ClickedTag();
    if (!labbook::SplitTag(code, kind, p2, p3, p4)) {
        ui::messageBox(QString::fromStdString(labbook::splitTagError(code)), {}, this);
        return;
    }
    if (kind != labbook::kTagLink) return;
    if (p2 == 2) {
        followAnchor(kind * 10000 + 1000 + p3, true);
    } else if (p2 == 3) {
        if (appState().InfoTreeShown) showHideContents();
        ShowFigure(p3, FigureSource::Info);
    }
}

bool frmInfo::showTopic(int topic) {
    if (!isVisible()) show();
    raise();
    activateWindow();
    return followAnchor(51000 + topic, true);
}

bool frmInfo::showAnchor(int anchorCode) {
    m_text->setCursorPara(0);
    m_text->setCursorChar(0);
    if (ScrivoAPI::FIND_HTAG(*m_text, anchorCode, 1) <= 0) return false;
    m_linkFromChar = m_text->CursorChar();
    m_linkFromPara = m_text->CursorPara();
    scrollToParagraph(m_text->CursorPara());
    show();
    raise();
    activateWindow();
    return true;
}

void frmInfo::walkHistory(bool back) {
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    const int p = back ? nav::GoBack() : nav::GoForward();
    updateHistoryButtons();
    m_text->setCursorPara(p);
    scrollToParagraph(p);
}

void frmInfo::showHideContents() {
    forms::hide(forms::frmImage);
    // The text takes another width and flows anew; the line being read stays at the top.
    const int reading = m_text->topPosition();
    AppState& a = appState();
    m_showHide->setText(a.InfoTreeShown ? QStringLiteral("Show Table of Contents")
                                        : QStringLiteral("Hide Table of Contents"));
    a.InfoTreeShown = !a.InfoTreeShown;
    m_tree->setVisible(a.InfoTreeShown);
    layoutControls();
    m_text->scrollToTopPosition(reading);
}

void frmInfo::returnClicked() {
    hide();
    if (!shell::showLabBook()) forms::show(forms::frmMain);
    nav::clearHistory();
    updateHistoryButtons();
}

void frmInfo::toMainClicked() {
    forms::show(forms::frmMain);
    hide();
    if (appState().LabBookState == kLabBookLoaded) {
        forms::hide(forms::frmDisplay);
    } else {
        forms::hide(forms::frmCVModel);
        forms::hide(forms::frmPlotData);
        shell::offerFileHelp();
    }
    nav::clearHistory();
    updateHistoryButtons();
}

bool frmInfo::findNext(const QString& text) {
    if (text.isEmpty()) return false;
    QTextDocument* doc = m_text->document();
    QTextCursor from(doc);
    from.setPosition(std::min(m_text->cursorPosition() + 1, doc->characterCount() - 1));
    QTextCursor found = doc->find(text, from);
    if (found.isNull()) found = doc->find(text, 0);  // on from the top
    if (found.isNull()) return false;
    const QTextBlock b = found.block();
    m_text->setCursorPara(b.blockNumber());
    m_text->setCursorChar(found.selectionStart() - b.position());
    scrollToParagraph(b.blockNumber());
    // Once the control has placed its cursor, the words found are shown selected.
    QTimer::singleShot(0, m_text, [t = m_text, found] { t->setTextCursor(found); });
    return true;
}

}  // namespace vasora::documents
