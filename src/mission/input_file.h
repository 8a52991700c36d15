#pragma once

#include <filesystem>
#include <memory>

#include "mission/input_window.h"

namespace bosquell {

// Opens a mission file for the copy pass: mapped into memory where the system allows it, read
// as a stream otherwise. Nothing when the file cannot be opened; errno then says why.
std::unique_ptr<InputWindow> OpenInputFile(const std::filesystem::path& path);

}  // namespace bosquell
