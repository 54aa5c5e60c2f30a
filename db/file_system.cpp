#include "file_system.h"

#include "data_file.h"

namespace rostradb {

namespace {

class RealFileSystem final : public FileSystem {
public:
    std::unique_ptr<RandomAccessFile> openExisting(const std::string& path) override { return openDataFile(path); }
    std::unique_ptr<RandomAccessFile> createEmpty(const std::string& path) override
    {
        return std::make_unique<DataFile>(DataFile::createEmpty(path));
    }
    bool exists(const std::string& path) override { return fileExists(path); }
    void remove(const std::string& path) override { removeFile(path); }
    void syncFolder(const std::string& folderPath) override { rostradb::syncFolder(folderPath); }
};

} // namespace

FileSystem& realFileSystem()
{
    static RealFileSystem files;
    return files;
}

} // namespace rostradb
