// Writes a type store holding one junk file type, for timing runs of the command line:
//   make_store STORE NAME METHOD FOLDER SPEC...
// METHOD is 0 (Recycle Bin), 1 (holding folder) or 2 (delete permanently); FOLDER "-" means
// all local drives.
#include "model/type_store.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: make_store STORE NAME METHOD FOLDER SPEC...\n");
        return 2;
    }
    brumo::TJunkFileObj type;
    type.Name = argv[2];
    type.Method = std::atoi(argv[3]);
    if (std::string(argv[4]) != "-")
        type.Folders = {brumo::FolderEntry{argv[4], brumo::FolderAndSubfolders}};
    for (int i = 5; i < argc; ++i)
        type.Specs.emplace_back(argv[i]);
    brumo::TypeStore store;
    const auto result = store.Save(argv[1], std::vector<brumo::TJunkFileObj>{type});
    if (!result.saved) {
        std::fprintf(stderr, "%s\n", result.Message().c_str());
        return 1;
    }
    return 0;
}
