#pragma once
// A ProgressSink that writes down every call as a short line of text, so a
// test can compare the whole conversation of a load or save with what it
// should be: "show", "hide", "caption:<text>", "max:<n>", "pos:<n>", "pump".

#include "db/progress_sink.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace rostradb::test {

class RecordingSink : public ProgressSink {
public:
    void show() override { calls.push_back("show"); }
    void hide() override { calls.push_back("hide"); }
    void setCaption(const std::string& caption) override { calls.push_back("caption:" + caption); }
    void setMaximum(std::int32_t maximum) override { calls.push_back("max:" + std::to_string(maximum)); }
    void setPosition(std::int32_t position) override { calls.push_back("pos:" + std::to_string(position)); }
    void pumpEvents() override { calls.push_back("pump"); }

    std::size_t count(const std::string& call) const
    {
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
    }
    bool contains(const std::string& call) const { return count(call) > 0; }

    std::vector<std::string> calls;
};

// What one table's part of a load or save reports: its caption, its last
// index as the maximum, then for every record its position and one pump.
inline std::vector<std::string> tablePassCalls(const std::string& caption, std::uint32_t lastIndex)
{
    std::vector<std::string> calls{"caption:" + caption, "max:" + std::to_string(lastIndex)};
    for (std::uint32_t i = 0; i <= lastIndex; ++i) {
        calls.push_back("pos:" + std::to_string(i));
        calls.push_back("pump");
    }
    return calls;
}

} // namespace rostradb::test
