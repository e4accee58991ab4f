#include "model/default_types.h"
#include "model/type_store.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace brumo {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<TJunkFileObj> SomeTypes() {
    DefaultTypes::Folders folders;
    folders.temp = "C:\\TEMP\\";
    folders.windows = "C:\\WINDOWS";
    std::vector<TJunkFileObj> list;
    DefaultTypes::AppendTo(list, false, folders);
    list[0].Name = "Sauvegardes d'été";
    list[1].SizeRestrict = true;
    list[1].SizeCompare = 4;
    list[1].Size1 = -1;
    list[1].Size2 = 100000;
    return list;
}

class TypeStoreFiles : public ::testing::Test {
protected:
    test::TempTree tree;
    std::string dat = (tree / "BRUMO.DAT").string();
    TypeStore store;

    // A store of three types cut inside the third.
    std::string CutStore() {
        const auto types = SomeTypes();
        const std::string whole = TypeStore::Serialize(types);
        const std::string firstTwo = TypeStore::Serialize(std::span(types).first(2));
        return whole.substr(0, firstTwo.size() + 20);
    }
};

TEST_F(TypeStoreFiles, SavesAndLoadsAList) {
    const auto types = SomeTypes();
    ASSERT_TRUE(store.Save(dat, types).saved);
    const auto loaded = store.Load(dat);
    EXPECT_EQ(loaded.status, TypeStore::LoadStatus::Loaded);
    EXPECT_EQ(loaded.types, types);
    EXPECT_TRUE(loaded.error.empty());
}

TEST_F(TypeStoreFiles, MissingAndEmptyFilesAreToldApart) {
    EXPECT_EQ(store.Load(dat).status, TypeStore::LoadStatus::Missing);
    ASSERT_TRUE(store.Save(dat, std::vector<TJunkFileObj>{}).saved);
    EXPECT_TRUE(fs::exists(dat));
    EXPECT_EQ(fs::file_size(dat), 0u);
    const auto loaded = store.Load(dat);
    EXPECT_EQ(loaded.status, TypeStore::LoadStatus::Empty);
    EXPECT_TRUE(loaded.types.empty());
}

TEST_F(TypeStoreFiles, SaveReplacesTheWholeFileAndLeavesNothingBeside) {
    WriteAll(dat, std::string(10000, 'x'));
    const auto types = SomeTypes();
    std::vector<const TJunkFileObj*> rows{&types[2], nullptr, &types[0]};
    ASSERT_TRUE(store.Save(dat, rows).saved);
    EXPECT_EQ(ReadAll(dat), TypeStore::Serialize(std::vector{types[2], types[0]}));
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.Root()), fs::directory_iterator()), 1);
}

TEST_F(TypeStoreFiles, SaveIntoAMissingFolderFails) {
    const std::string where = (tree / "no" / "such" / "BRUMO.DAT").string();
    const auto result = store.Save(where, SomeTypes());
    EXPECT_FALSE(result.saved);
    EXPECT_NE(result.error.find(where), std::string::npos) << result.error;
}

TEST_F(TypeStoreFiles, AFailedLoadKeepsTheTypesBeforeAndTheFilesBytes) {
    const std::string cut = CutStore();
    WriteAll(dat, cut);
    const auto loaded = store.Load(dat);
    EXPECT_EQ(loaded.status, TypeStore::LoadStatus::Failed);
    const auto all = SomeTypes();
    EXPECT_EQ(loaded.types, std::vector(all.begin(), all.begin() + 2));
    EXPECT_NE(loaded.error.find(dat), std::string::npos) << loaded.error;
    EXPECT_NE(loaded.error.find(dat + ".BAD"), std::string::npos) << loaded.error;
    EXPECT_TRUE(store.FailedToLoad(dat));

    // The first save keeps the old bytes, later saves just write.
    auto saved = store.Save(dat, loaded.types);
    ASSERT_TRUE(saved.saved) << saved.Message();
    EXPECT_EQ(saved.keptCopy, dat + ".BAD");
    EXPECT_NE(saved.Message().find(dat + ".BAD"), std::string::npos);
    EXPECT_EQ(ReadAll(dat + ".BAD"), cut);
    EXPECT_EQ(store.Load(dat).types, loaded.types);

    saved = store.Save(dat, SomeTypes());
    EXPECT_TRUE(saved.saved && saved.keptCopy.empty() && saved.Message().empty());
    EXPECT_EQ(ReadAll(dat + ".BAD"), cut);
}

TEST_F(TypeStoreFiles, AnEarlierCopyIsNeverReplaced) {
    WriteAll(dat + ".BAD", "first failure");
    WriteAll(dat + ".BAD2", "second failure");
    WriteAll(dat, CutStore());
    const auto loaded = store.Load(dat);
    EXPECT_NE(loaded.error.find(dat + ".BAD3"), std::string::npos) << loaded.error;
    const auto saved = store.Save(dat, loaded.types);
    EXPECT_EQ(saved.keptCopy, dat + ".BAD3");
    EXPECT_EQ(ReadAll(dat + ".BAD"), "first failure");
    EXPECT_EQ(ReadAll(dat + ".BAD2"), "second failure");
    EXPECT_EQ(ReadAll(dat + ".BAD3"), CutStore());
}

TEST_F(TypeStoreFiles, RemovingAFileThatFailedToLoadKeepsIt) {
    const std::string copy = (tree / "BRUMO.D$$").string();
    WriteAll(copy, CutStore());
    ASSERT_EQ(store.Load(copy).status, TypeStore::LoadStatus::Failed);
    const auto removed = store.Remove(copy);
    EXPECT_TRUE(removed.saved) << removed.Message();
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(ReadAll(copy + ".BAD"), CutStore());

    WriteAll(copy, "x");
    EXPECT_TRUE(store.Remove(copy).saved);
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_FALSE(fs::exists(copy + ".BAD2"));
    EXPECT_TRUE(store.Remove(copy).saved); // already gone
}

TEST_F(TypeStoreFiles, ALoadThatSucceedsForgetsAnEarlierFailure) {
    WriteAll(dat, CutStore());
    store.Load(dat);
    WriteAll(dat, TypeStore::Serialize(SomeTypes()));
    EXPECT_EQ(store.Load(dat).status, TypeStore::LoadStatus::Loaded);
    EXPECT_TRUE(store.Save(dat, SomeTypes()).keptCopy.empty());
    EXPECT_FALSE(fs::exists(dat + ".BAD"));
}

// The fuzzer's seeds are valid stores: each reads to its end, and those in the writer's own
// form (".dat") write back byte for byte.
// The seeds in the source tree, or the copy beside the tests where the source tree is out of
// reach (a cross build run under Wine).
fs::path CorpusFolder() {
    const fs::path source = BRUMO_FUZZ_CORPUS;
    return fs::exists(source) ? source : fs::path("fuzz-corpus");
}

TEST(TypeStoreCorpus, EverySeedReadsBack) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(CorpusFolder())) {
        ++files;
        const std::string bytes = ReadAll(entry.path());
        const auto loaded = TypeStore::Parse(bytes, entry.path().filename().string());
        ASSERT_EQ(loaded.status, TypeStore::LoadStatus::Loaded) << loaded.error;
        EXPECT_FALSE(loaded.types.empty());
        const std::string again = TypeStore::Serialize(loaded.types);
        if (entry.path().extension() == ".dat") {
            EXPECT_EQ(again, bytes) << entry.path().filename();
        }
        EXPECT_EQ(TypeStore::Parse(again, "again").types, loaded.types);
    }
    EXPECT_GE(files, 4);
}

TEST(TypeStoreCorpus, ReaderOnlyFormsReadAsExpected) {
    const auto loaded = TypeStore::Parse(ReadAll(CorpusFolder() / "reader_forms.bin"), "x");
    ASSERT_EQ(loaded.types.size(), 4u);
    EXPECT_EQ(loaded.types[0].Name, "Wide üml\u00e4ut \U0001F600");
    EXPECT_EQ(loaded.types[0].Date1, 39462.0);
    EXPECT_EQ(loaded.types[1].Date2, -3.0);
    EXPECT_FALSE(loaded.types[2].Enabled);
    EXPECT_EQ(loaded.types[3].Name, "café!");
}

} // namespace
} // namespace brumo
