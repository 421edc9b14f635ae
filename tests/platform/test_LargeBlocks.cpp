// After the program's start, large blocks come from and go back to the system: a block
// of a megabyte is mapped on its own even after a far larger one was freed, which is
// when glibc would otherwise start keeping such blocks in its heap.
#include "platform/LargeBlocks.h"

#include <QTest>

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

// A sanitizer's allocator replaces glibc's and reports no mapped blocks.
#if defined(__SANITIZE_ADDRESS__)
#define VANTREL_SANITIZED_ALLOCATOR
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTREL_SANITIZED_ALLOCATOR
#endif
#endif

class TestLargeBlocks : public QObject {
    Q_OBJECT
private slots:
    void largeBlocksAreMappedOnTheirOwn()
    {
#if defined(__GLIBC__) && !defined(VANTREL_SANITIZED_ALLOCATOR)
        platform::ReturnLargeBlocksToSystem();
        // volatile: the compiler may not drop an allocation that is freed unused.
        void* volatile large = std::malloc(16 * 1024 * 1024);
        std::free(large);
        const size_t mappedBefore = mallinfo2().hblkhd;
        void* volatile block = std::malloc(1024 * 1024);
        QVERIFY(block);
        const size_t mappedWith = mallinfo2().hblkhd;
        std::free(block);
        QVERIFY(mappedWith >= mappedBefore + 1024 * 1024);
        QCOMPARE(mallinfo2().hblkhd, mappedBefore);
#else
        QSKIP("only glibc's own allocator keeps freed large blocks in its heap");
#endif
    }
};

QTEST_GUILESS_MAIN(TestLargeBlocks)
#include "test_LargeBlocks.moc"
