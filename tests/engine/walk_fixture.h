#pragma once

#include "engine/folder_walker.h"
#include "model/junk_file_type.h"
#include "platform/named_event.h"
#include "support/drive_map.h"
#include "support/scoped_env.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brumo::test {

struct WalkResult {
    SearchCounts counts;
    std::vector<std::pair<std::string, int64_t>> files;
    bool stopped = false;

    bool Has(const std::string& path) const {
        for (const auto& f : files)
            if (f.first == path)
                return true;
        return false;
    }
};

// Drive C: is a temporary folder; the user's data folder (and with it the home trash) lies in
// the same tree so that nothing outside it is ever touched.
class WalkTest : public ::testing::Test {
protected:
    WalkTest()
        : c_(tree_ / "c"), home_(tree_ / "c" / "home" / "u"),
          data_("XDG_DATA_HOME", (home_ / ".local" / "share").string()),
          homeVar_("HOME", home_.string()) {
        TreeBuilder::MakeDir(c_);
        drives_ = std::make_unique<DriveMap>(
            std::initializer_list<std::pair<char, std::filesystem::path>>{{'C', c_}});
    }

    static TJunkFileObj Type(std::vector<FolderEntry> folders, std::vector<std::string> specs,
                             std::vector<std::string> protects = {}) {
        TJunkFileObj type;
        type.Folders = std::move(folders);
        type.Specs = std::move(specs);
        type.Protects = std::move(protects);
        return type;
    }

    // Runs a walk on this thread; onFile may do more than collect (stop, throw).
    WalkResult Walk(const TJunkFileObj& type, std::vector<std::string> excluded = {},
                    std::function<void(const std::string&)> alsoOnFile = {}) {
        WalkResult result;
        FolderWalker::Options options;
        options.stopEvent = stop_.get();
        options.excludedFolders = std::move(excluded);
        options.onFile = [&](const std::string& path, int64_t size) {
            result.files.emplace_back(path, size);
            if (alsoOnFile)
                alsoOnFile(path);
        };
        FolderWalker walker(type, std::move(options));
        walker.SearchAll();
        result.counts = walker.Counts();
        result.stopped = walker.Stopped();
        return result;
    }

    std::filesystem::path C(const std::string& relative) const { return c_ / relative; }
    // The Windows path of a place on drive C: ("T\\a.tmp"; "" for the root itself).
    std::string W(const std::string& relative) const { return drives_->Path('C', relative); }

    TempTree tree_;
    std::filesystem::path c_;
    std::filesystem::path home_;
    ScopedEnv data_;
    ScopedEnv homeVar_;
    std::unique_ptr<DriveMap> drives_;
    std::shared_ptr<NamedEvent> stop_ =
        NamedEvent::Create(std::string("Brumo walk test ") +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

} // namespace brumo::test
