#pragma once

namespace brumo {

// Failures that tests inject into steps no test could make fail from outside (a rename that
// cannot happen, a move that finds another file system). Production code only asks.
class TestFaults {
public:
    // The next `count` renames by the file operations fail with the error code.
    static void FailRenames(int code, int count = 1);
    static void Clear();
    // The code the current rename must fail with, or 0; takes one from the count.
    static int TakeRenameFault();
};

} // namespace brumo
