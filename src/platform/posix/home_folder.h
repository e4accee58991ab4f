#pragma once

#include <string>

namespace brumo {

// The user's home folder, which the data, configuration and trash folders default to.
class HomeFolder {
public:
    // $HOME, else the user's entry in the password database; only an absolute path counts.
    // Empty where there is none.
    static std::string Path();
};

} // namespace brumo
