#pragma once

#include <string>
#include <string_view>

namespace qor::platform {

// A text made safe as part of a file or folder name: / \ : * ? " < > | and control
// characters become "_", so a node number read from a file can never leave the folder.
std::string safeFileNamePart(std::string_view text);

}  // namespace qor::platform
