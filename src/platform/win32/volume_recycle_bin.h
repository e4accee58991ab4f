#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace brumo {

// What current Windows keeps for one volume's Recycle Bin, under the user's Explorer key
// "BitBucket\Volume\{GUID}": its size in megabytes, and whether files are deleted at once.
struct VolumeRecycleSetting {
    bool nukeOnDelete = false;
    std::optional<int64_t> maxBytes; // none where the key gives no size
};

// The Recycle Bin of the drive a file lies on, asked before a file is sent there: Windows
// deletes for good, without a word, a file its Recycle Bin cannot take.
class VolumeRecycleBin {
public:
    static constexpr const char* VolumeKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume";

    // The drive's volume settings below volumeKey (under the current user); none when the
    // volume has no key of its own.
    static std::optional<VolumeRecycleSetting> Setting(char letter,
                                                       const std::string& volumeKey = VolumeKey);
    // Why a file of size bytes at path cannot be sent to the Recycle Bin, as a code for
    // RecycleBin::ErrorText; 0 when nothing stands in the way.
    static int Refusal(const std::string& path, int64_t size);

    // Own codes, beside the shell operation's and the system's.
    enum Code : int {
        NoRecycleBin = 0x20000001,
        DeletesAtOnce,
        TooLarge,
        NameEndsInDotOrSpace,
        PathTooLong,
        NotTaken,
        NotTakenKeptAside,
        GoneNotInBin,
    };
    // The text of an own code; nullptr for any other.
    static const char* Text(int code);
};

} // namespace brumo
