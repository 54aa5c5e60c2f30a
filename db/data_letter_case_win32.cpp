#include "data_paths.h"

namespace rostradb {

// Windows finds "Data\\INDEX.DAT" under any spelling by itself.
std::string entryNameOnDisk(const std::string& /*folder*/, std::string_view name) { return std::string(name); }

} // namespace rostradb
