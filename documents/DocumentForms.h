#pragma once

namespace vasora::documents {

/// Registers the document windows: the information viewer, the figure window, the help
/// windows, the busy notice and the backdrop.
void registerDocumentForms();

}  // namespace vasora::documents
