#pragma once

namespace vasora::options {

/// Registers the options window and its help window, and gives Restart what it needs of them.
void registerOptionsForms();

}  // namespace vasora::options
