#pragma once
// The only link from the loaders and the writer to the user interface: a
// pass reports which table it works on and how far it has come, and lets the
// window system breathe once per record. Loaders report records in blocks;
// a sink that has no use for every single position takes the block at once.

#include <cstdint>
#include <string>

namespace rostradb {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setMaximum(std::int32_t maximum) = 0;
    virtual void setPosition(std::int32_t position) = 0;
    virtual void pumpEvents() = 0;

    // Records first..last (inclusive) of the current table are done. Unless
    // overridden, each is reported as a single record: its position, then
    // one pump.
    virtual void recordsDone(std::int32_t first, std::int32_t last)
    {
        for (std::int32_t i = first; i <= last; ++i) {
            setPosition(i);
            pumpEvents();
        }
    }
    // `records` records of a table without a bar (nations) are done: unless
    // overridden, one pump each.
    virtual void unpositionedRecordsDone(std::int64_t records)
    {
        for (std::int64_t i = 0; i < records; ++i)
            pumpEvents();
    }
};

// Reports nowhere: for passes nobody watches (benchmarks, a window without
// its Status window attached).
class SilentProgress final : public ProgressSink {
public:
    void show() override {}
    void hide() override {}
    void setCaption(const std::string&) override {}
    void setMaximum(std::int32_t) override {}
    void setPosition(std::int32_t) override {}
    void pumpEvents() override {}
    void recordsDone(std::int32_t, std::int32_t) override {}
    void unpositionedRecordsDone(std::int64_t) override {}
};

// Shows the sink for the length of one load or save and hides it again on
// every way out, so a failed pass never leaves the Status window on screen.
class ProgressScope {
public:
    explicit ProgressScope(ProgressSink& sink) : sink_(sink) { sink_.show(); }
    ~ProgressScope() { sink_.hide(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    ProgressSink& sink_;
};

// Starts one table's part of a pass: caption, then the table's last index as
// the bar's maximum. The bar holds signed 32-bit values; a last index of
// 2^31 or more cannot be shown and stops the pass with an error.
void beginTable(ProgressSink& sink, const std::string& caption, std::uint32_t lastIndex);

} // namespace rostradb
