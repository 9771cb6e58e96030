// The site file's costs: reading a full 200-site file from disk, writing the records into memory
// (everything but the disk), writing a whole file to disk (temporary file, flush, rename), and listing
// the active sites.
#include "../tests/unit/support/MemoryStream.h"

#include "book/SiteFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace portolan {
namespace {

class SilentMessages final : public MessageSink {
public:
    int MessageDialog(std::string_view, MessageKind, MessageButtons) override {
        throw std::runtime_error("the benchmark's file operation failed");
    }
    void beep() override {}
};

// A book of 200 sites with every text field filled to its capacity.
std::unique_ptr<SiteBook> fullBook() {
    auto book = std::make_unique<SiteBook>();
    for (int slot = 0; slot < MaxSites; ++slot) {
        SiteFields site;
        site.Description = "Site " + std::to_string(slot) + std::string(128, 'd');
        site.Address = "ftp" + std::to_string(slot) + ".example.org" + std::string(30, 'a');
        site.Port = "2121";
        site.UserName = std::string(20, 'u');
        site.Password = std::string(20, 'p');
        site.LoginDirectory = "/pub/" + std::string(128, 'l');
        site.Script = std::string(128, 's');
        book->storeSite(slot, site, 45000 + slot);
        ++book->SiteCount;
    }
    return book;
}

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "portolan-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void readFullSiteFile(benchmark::State& state) {
    const ScratchFolder folder;
    const std::string path = folder.file("full.ptn");
    SilentMessages messages;
    writeSiteFile(*fullBook(), path, messages);
    auto book = std::make_unique<SiteBook>();
    for (auto _ : state)
        benchmark::DoNotOptimize(readSiteFile(*book, path, messages));
}
BENCHMARK(readFullSiteFile);

// The stream's memory is kept between iterations, so the figure is the writer's own work and not the
// allocator's.
void writeRecordsToMemory(benchmark::State& state) {
    const auto book = fullBook();
    testing::MemoryStream stream;
    for (auto _ : state) {
        stream.clear();
        benchmark::DoNotOptimize(writeSiteRecords(book->SiteTable, stream));
    }
}
BENCHMARK(writeRecordsToMemory);

void writeFullSiteFileToDisk(benchmark::State& state) {
    const ScratchFolder folder;
    const std::string path = folder.file("full.ptn");
    const auto book = fullBook();
    SilentMessages messages;
    for (auto _ : state)
        writeSiteFile(*book, path, messages);
}
BENCHMARK(writeFullSiteFileToDisk)->Unit(benchmark::kMicrosecond);

void listActiveSites(benchmark::State& state) {
    const auto book = fullBook();
    for (auto _ : state)
        benchmark::DoNotOptimize(book->listActiveSites());
}
BENCHMARK(listActiveSites);

} // namespace
} // namespace portolan
