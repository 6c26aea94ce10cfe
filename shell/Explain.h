#pragma once

// "Explain…": any window may ask for a topic of the information file to be shown; the
// information viewer answers. The windows do not know each other: the program's start-up
// connects the viewer here.

#include <QString>
#include <functional>

class QWidget;

namespace vasora::shell {

/// Shows topic (the anchor 51000 + topic) of the information file, when a viewer is connected.
void requestExplain(int topic);
void setExplainHandler(std::function<void(int)> handler);
bool explainAvailable();

/// Offers "Explain…" on the labels of `window`: a context menu on a label that has a topic,
/// and F1 on the focused label (or the one under the mouse; else `overviewTopic`).
/// `topicOf` gives a label's topic from its object name and caption, 0 for none.
void offerExplanations(QWidget* window,
                       std::function<int(const QString& name, const QString& caption)> topicOf,
                       int overviewTopic);

}  // namespace vasora::shell
