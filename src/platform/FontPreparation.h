#pragma once

#include <thread>

namespace platform {

// Reads the system's font configuration on another thread while the application starts:
// with many fonts installed (the CJK families come in dozens of faces) that takes longer
// than everything else before the first window, and the first window needs it to measure
// its texts. Made before the application object; waits for the thread when destroyed.
class FontPreparation {
public:
    FontPreparation();
    ~FontPreparation();
    FontPreparation(const FontPreparation&) = delete;
    FontPreparation& operator=(const FontPreparation&) = delete;

private:
    std::thread thread_;
};

} // namespace platform
