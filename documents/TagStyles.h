#pragma once

// The tag styles of the program's documents, by the kinds of their tag codes: the lab book
// display and the information viewer hand these to their rich-text controls.

#include "documents/TagStylePolicy.h"

#include <memory>

namespace vasora::documents {

/// The lab book: table buttons, save and restart commands look like buttons, links like links,
/// figures like figures, input-field markers like input fields; all of them act on a click.
std::shared_ptr<const TagStylePolicy> labBookTagStyle();

/// The information file: links to anchors and figures act on a click. Anchors, the targets of
/// links, and the lab book's commands do nothing there, so they are shown plainly.
std::shared_ptr<const TagStylePolicy> infoTagStyle();

}  // namespace vasora::documents
