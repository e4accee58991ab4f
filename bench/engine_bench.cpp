#include "engine/folder_walker.h"
#include "engine/name_match.h"
#include "model/junk_file_type.h"
#include "platform/drives.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace brumo;

const std::vector<std::string> kNames = {
    "README",
    "notes.txt",
    "~WRL0003.tmp",
    "setup.log",
    "Thumbs.db",
    "a.b.c.d.e.f",
    "VeryLongFileNameWithManyCharacters.document",
    "file1.tmp",
    "x.~mp",
    "report.doc",
    "index.dat",
    "desktop.ini",
    "core",
    "ws_ftp.log",
};

void BM_WildcardMatch(benchmark::State& state) {
    const std::vector<std::string> patterns = {"*.TMP", "~*.*", "*.??$", "FILE?.TMP", "*A*B*C*"};
    for (auto _ : state)
        for (const std::string& name : kNames)
            for (const std::string& p : patterns)
                benchmark::DoNotOptimize(NameMatch::WildcardMatch(name, p));
    state.SetItemsProcessed(state.iterations() * kNames.size() * patterns.size());
}
BENCHMARK(BM_WildcardMatch);

void BM_MatchSpec(benchmark::State& state) {
    const std::vector<std::string> specs = {"*.tmp", "~*.*", "*.??$", "file?.tmp", "README."};
    for (auto _ : state)
        for (const std::string& name : kNames)
            for (const std::string& s : specs)
                benchmark::DoNotOptimize(NameMatch::MatchSpec(name, s));
    state.SetItemsProcessed(state.iterations() * kNames.size() * specs.size());
}
BENCHMARK(BM_MatchSpec);

// One folder of 100,000 files, 2% of them junk, searched with the five temporary-file
// specifications. The folder is made once per process under $TMPDIR.
class BigFolder {
public:
    BigFolder() {
        root_ =
            std::filesystem::temp_directory_path() / ("brumo-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_ / "big");
        for (int i = 0; i < 100000; ++i) {
            std::string name = "File" + std::to_string(i);
            name += (i % 50 == 0) ? ".TMP" : (i % 3 == 0 ? "" : ".txt");
            const int fd = ::open((root_ / "big" / name).c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0)
                ::close(fd);
        }
        ::setenv("BRUMO_DRIVES", ("C=" + root_.string()).c_str(), 1);
        Drives::Reload();
    }
    ~BigFolder() { std::filesystem::remove_all(root_); }

private:
    std::filesystem::path root_;
};

void BM_SearchOneFolder(benchmark::State& state) {
    static BigFolder folder;
    TJunkFileObj type;
    type.Folders = {{"C:\\big", FolderOnly}};
    type.Specs = {"*.tmp", "*.~*", "~*.*", "*.^*", "*.??$"};
    int64_t matched = 0;
    for (auto _ : state) {
        FolderWalker walker(type, {});
        walker.SearchAll();
        matched = walker.Counts().filesMatched;
    }
    state.counters["matched"] = static_cast<double>(matched);
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_SearchOneFolder)->Unit(benchmark::kMillisecond);

} // namespace
