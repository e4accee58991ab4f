// The race test's swapper under Wine: a Windows process, so that Windows share modes bind it
// as they bind any process on Windows. It renames each entry given away, has a helper on the
// host plant a link in its place and take it away again (Wine makes no links of its own), and
// renames the entry back, over and over until the control folder holds "stop".
//   swapper CONTROL_FOLDER ENTRY...
// The helper reads the entry's number, a line, from CONTROL_FOLDER\request and answers on
// CONTROL_FOLDER\done once the link has come and gone.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool WriteLine(HANDLE h, const std::string& line) {
    DWORD written = 0;
    return WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
           written == line.size();
}

// Wine reads a pipe of the host without waiting: nothing there yet reads as nothing, so the
// answer is waited for, up to ten seconds.
bool ReadLine(HANDLE h) {
    char c = 0;
    DWORD got = 0;
    for (int idle = 0; idle < 10000 && ReadFile(h, &c, 1, &got, nullptr);) {
        if (got == 0) {
            Sleep(1);
            ++idle;
        } else if (c == '\n') {
            return true;
        }
    }
    return false;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: swapper CONTROL_FOLDER ENTRY...\n", stderr);
        return 2;
    }
    const std::wstring control = argv[1];
    const std::wstring stop = control + L"\\stop";
    const HANDLE request = CreateFileW((control + L"\\request").c_str(), GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    const HANDLE done = CreateFileW((control + L"\\done").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (request == INVALID_HANDLE_VALUE || done == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "swapper: no helper (%lu)\n", GetLastError());
        return 1;
    }
    std::vector<std::wstring> entries(argv + 2, argv + argc);
    long swaps = 0, held = 0;
    // Entries left in place for a varying while between swaps, so that runs also find them, and
    // check them, in their place before they go.
    unsigned pause = GetCurrentProcessId();
    while (GetFileAttributesW(stop.c_str()) == INVALID_FILE_ATTRIBUTES) {
        pause = pause * 1103515245 + 12345;
        Sleep((pause >> 16) % 16);
        for (size_t i = 0; i < entries.size(); ++i) {
            const std::wstring& entry = entries[i];
            const std::wstring away = entry + L".real";
            // The first step of every swap, the one that share modes must refuse while the
            // program holds the entry or a folder above it.
            if (!MoveFileExW(entry.c_str(), away.c_str(), 0)) {
                if (GetLastError() == ERROR_SHARING_VIOLATION)
                    ++held;
                continue;
            }
            ++swaps;
            if (!WriteLine(request, std::to_string(i) + "\n") || !ReadLine(done)) {
                std::fputs("swapper: the helper stopped answering\n", stderr);
                return 1;
            }
            for (int tries = 0; !MoveFileExW(away.c_str(), entry.c_str(), 0); ++tries) {
                if (tries == 10000) {
                    std::fputs("swapper: cannot put an entry back\n", stderr);
                    return 1;
                }
                Sleep(1);
            }
        }
    }
    std::printf("%ld swaps, %ld refused while held\n", swaps, held);
    return 0;
}
