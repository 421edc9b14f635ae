#pragma once

namespace platform {

// Large blocks (a long text, its document, its page) are taken from and given back to
// the system directly. glibc otherwise raises its threshold after the first large block
// is freed, and later ones then stay in the heap after a save, so each save of a long
// text leaves the program megabytes larger.
void ReturnLargeBlocksToSystem();

} // namespace platform
