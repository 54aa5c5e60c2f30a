#pragma once
// A fresh folder under the system's temporary directory, removed with
// everything in it when the owner goes out of scope. GameDir adds the layout
// the editor expects: a game directory holding a "data" folder.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace rostradb::test {

class TempDir {
public:
    // A random name, taken only when create_directory made it, so that
    // tests running in parallel never share a folder (mkdtemp's guarantee,
    // which Windows lacks).
    TempDir()
    {
        static std::mt19937_64 names{std::random_device{}()};
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = base / ("rostradb-test-" + std::to_string(names()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot create a temporary folder");
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void writeFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

inline std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A game installation in a temporary folder: <root>/data/<file>.
class GameDir {
public:
    GameDir() { std::filesystem::create_directory(dataFolder()); }

    // The game directory as the editor is given it.
    std::string path() const { return root_.path().string(); }
    std::filesystem::path dataFolder() const { return root_.path() / "data"; }
    std::filesystem::path file(std::string_view name) const { return dataFolder() / name; }

    void write(std::string_view name, std::span<const std::uint8_t> bytes) const
    {
        writeFileBytes(file(name), bytes);
    }
    std::vector<std::uint8_t> read(std::string_view name) const { return readFileBytes(file(name)); }

private:
    TempDir root_;
};

} // namespace rostradb::test
