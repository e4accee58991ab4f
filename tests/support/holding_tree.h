#pragma once

#include "platform/holding_folder.h"
#include "platform/path_map.h"
#include "runs/holding_path.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

namespace brumo::test {

// A test tree that is drive C:'s root, so that the drive's holding folder is the test's own.
class HoldingTreeTest : public ::testing::Test {
protected:
    TempTree tree;
    DriveMap drives{{'C', tree.Root()}};

    void SetUp() override {
        if (!drives.RootIsDrive('C'))
            GTEST_SKIP() << "no spare drive for a holding folder of the tests' own";
    }

    static std::filesystem::path Host(const std::string& windowsPath) {
        return PathMap::ToHost(windowsPath).value_or("");
    }
    // Puts a file into the holding folder as a run would have held C:\relative; returns that
    // original path.
    std::string Held(const std::string& relative, int64_t size) {
        // Named as given: looking the path up would take a case twin for the file.
        std::string below = relative;
        std::replace(below.begin(), below.end(), '\\', '/');
        // The name is UTF-8, which a narrow path would read in Windows' ANSI code page.
        const std::u8string name(below.begin(), below.end());
        TreeBuilder::MakeFile(tree / HoldingFolder::Name / std::filesystem::path(name), size);
        return drives.Path('C', relative);
    }
};

} // namespace brumo::test
