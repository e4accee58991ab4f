// Builds a deterministic tree for timing searches: make_tree ROOT [FILES] [FOLDERS] [DEPTH]
// About 2% of the files carry names that the five temporary-file specifications select
// ("*.tmp", "*.~*", "~*.*", "*.^*", "*.??$"), in mixed case; the others never match them.
// Some links to files and to folders are added; the walk must not follow the folder links.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A small fixed generator, so that every machine builds the same tree.
struct Random {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state >> 11);
    }
    uint32_t Below(uint32_t n) { return Next() % n; }
};

std::string Word(Random& r, size_t minLen, size_t maxLen) {
    static const char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-";
    const size_t len = minLen + r.Below(static_cast<uint32_t>(maxLen - minLen + 1));
    std::string w;
    for (size_t i = 0; i < len; ++i)
        w += letters[r.Below(sizeof letters - 1)];
    return w;
}

std::string MixCase(Random& r, std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z' && r.Below(2))
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string JunkName(Random& r) {
    switch (r.Below(5)) {
    case 0:
        return Word(r, 3, 12) + MixCase(r, ".tmp");
    case 1:
        return Word(r, 3, 12) + ".~" + Word(r, 1, 3);
    case 2: {
        std::string name(1, '~');
        name += Word(r, 3, 12);
        name += '.';
        name += Word(r, 1, 3);
        return name;
    }
    case 3:
        return Word(r, 3, 12) + ".^" + Word(r, 1, 3);
    default:
        return Word(r, 3, 12) + "." + Word(r, 2, 2) + "$";
    }
}

std::string CleanName(Random& r) {
    static const char* const exts[] = {".txt",  ".doc",  ".c",  ".h",    ".dat", ".png",
                                       ".html", ".tmpl", ".tm", ".conf", ""};
    std::string name = Word(r, 2, 16);
    if (r.Below(40) == 0)
        name.insert(name.begin(), '.'); // hidden files
    name += MixCase(r, exts[r.Below(sizeof exts / sizeof exts[0])]);
    return name;
}

void MakeFile(const std::string& path, uint32_t size) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    if (size && ::ftruncate(fd, size) != 0)
        std::perror(path.c_str());
    ::close(fd);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_tree ROOT [FILES] [FOLDERS] [DEPTH]\n");
        return 2;
    }
    const std::string root = argv[1];
    const long files = argc > 2 ? std::atol(argv[2]) : 200000;
    const long folders = argc > 3 ? std::atol(argv[3]) : 20000;
    const int maxDepth = argc > 4 ? std::atoi(argv[4]) : 8;
    Random r;

    std::filesystem::create_directories(root);
    std::vector<std::string> paths = {root};
    std::vector<int> depths = {0};
    while (static_cast<long>(paths.size()) < folders) {
        size_t parent = r.Below(static_cast<uint32_t>(paths.size()));
        while (depths[parent] >= maxDepth)
            parent = r.Below(static_cast<uint32_t>(paths.size()));
        const std::string path =
            paths[parent] + "/" + MixCase(r, Word(r, 3, 10)) + "_" + std::to_string(paths.size());
        std::filesystem::create_directory(path);
        paths.push_back(path);
        depths.push_back(depths[parent] + 1);
    }
    long junk = 0, links = 0;
    for (long i = 0; i < files; ++i) {
        const std::string& folder = paths[r.Below(static_cast<uint32_t>(paths.size()))];
        std::string number(1, '_');
        number += std::to_string(i); // keeps names unique
        std::string path;
        if (r.Below(50) == 0) {
            const std::string base = JunkName(r);
            const size_t dot = base.rfind('.');
            path = folder + "/" + base.substr(0, dot) + number + base.substr(dot);
            ++junk;
        } else {
            path = folder + "/" + CleanName(r) + number;
        }
        MakeFile(path, r.Below(65536));
        if (i % 1000 == 999) {
            // Links: back up to the root (a loop), to another folder, or to this file
            // under a junk name (selected as the link itself).
            std::string link = folder + "/link" + number, target;
            switch (r.Below(3)) {
            case 0:
                target = paths[0];
                break;
            case 1:
                target = paths[r.Below(static_cast<uint32_t>(paths.size()))];
                break;
            default:
                target = path;
                link += ".TMP";
                ++junk;
            }
            if (::symlink(target.c_str(), link.c_str()) == 0)
                ++links;
        }
    }
    std::printf("%ld folders, %ld files (%ld junk), %ld links under %s\n", folders, files, junk,
                links, root.c_str());
    return 0;
}
