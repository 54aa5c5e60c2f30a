#include "progress_sink.h"

#include "errors.h"

#include <limits>

namespace rostradb {

void beginTable(ProgressSink& sink, const std::string& caption, std::uint32_t lastIndex)
{
    sink.setCaption(caption);
    if (lastIndex > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        throw DbError("Table too large: the directory announces " + std::to_string(lastIndex + 1ull) +
                      " records, more than the editor can handle");
    sink.setMaximum(static_cast<std::int32_t>(lastIndex));
}

} // namespace rostradb
