#pragma once

#include "../cli_test_support.h"
#include "model/junk_file_type.h"
#include "model/type_store.h"

#include "support/drive_map.h"
#include "support/scoped_env.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace brumo {

namespace fs = std::filesystem;

// The program lives in a temporary folder on drive C:, the only drive of the table; the temporary
// files folder lies on it too, so the built-in types are the same on every machine.
class TypeCommandsTest : public ::testing::Test {
protected:
    test::TempTree tree;
    std::optional<test::DriveMap> drives;
    std::optional<test::ScopedEnv> tmpDir;
    ProgramFiles files;
    std::string out, err;

    void SetUp() override {
        fs::create_directories(tree / "c" / "prog");
        fs::create_directories(tree / "c" / "tmp");
        drives.emplace(std::initializer_list<std::pair<char, fs::path>>{{'C', tree / "c"}});
        tmpDir.emplace("TMPDIR", (tree / "c" / "tmp").string());
        files = ProgramFiles::Derive((tree / "c" / "prog" / "brumo").string(), true,
                                     (tree / "data").string());
    }

    int Run(std::vector<std::string> args) {
        return test::RunBrumo(files, std::move(args), out, err);
    }

    void Store(const std::vector<TJunkFileObj>& types) {
        std::ofstream(files.TypeStore, std::ios::binary) << TypeStore::Serialize(types);
    }
};

} // namespace brumo
