// What the registry, the locales and the traverser container do when an
// allocation of a locale or a traverser fails: null where the object would
// have been, everything else as usual, and nothing leaked (the sanitizer
// build checks leaks).
//
// The library allocates those objects with the non-throwing operator new.
// This file replaces that operator for the whole test program: it passes
// every request on to the ordinary operator new, except the one that a test
// has asked to fail, counted on the test's own thread. Clang's sanitizer
// runtimes are linked statically and bring their own definition of the
// operator, so under them the replacement is left out and the tests skip.
#include <charsetkit/encodings/EucKrEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/locales/KoreanLocale.h>
#include <charsetkit/locales/Utf8Locale.h>
#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/TraverserContainer.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <typeinfo>
#include <vector>

#if defined(__clang__) && defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
#define CHARSETKIT_TEST_NO_NEW_REPLACEMENT 1
#endif
#endif

#ifndef CHARSETKIT_TEST_NO_NEW_REPLACEMENT

namespace {

// Non-throwing allocations left before the one that fails; negative: none fails.
thread_local int t_nothrowAllocationsBeforeFailure = -1;
// Non-throwing allocations made on this thread.
thread_local int t_nothrowAllocations = 0;

} // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++t_nothrowAllocations;
    if (t_nothrowAllocationsBeforeFailure == 0) {
        t_nothrowAllocationsBeforeFailure = -1;
        return nullptr;
    }
    if (t_nothrowAllocationsBeforeFailure > 0) {
        --t_nothrowAllocationsBeforeFailure;
    }
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

// Throwing allocations left before the one that throws; negative: none does.
thread_local int t_throwingAllocationsBeforeFailure = -1;

} // namespace

// The ordinary operator, replaced as well so that a test can make one
// allocation of the conversions' own strings throw.
void* operator new(std::size_t size) {
    if (t_throwingAllocationsBeforeFailure == 0) {
        t_throwingAllocationsBeforeFailure = -1;
        throw std::bad_alloc();
    }
    if (t_throwingAllocationsBeforeFailure > 0) {
        --t_throwingAllocationsBeforeFailure;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

#endif

namespace charsetkit {
namespace {

#ifndef CHARSETKIT_TEST_NO_NEW_REPLACEMENT

// Makes the non-throwing allocation number `index` (from 0) of its scope fail.
class FailAllocation {
public:
    explicit FailAllocation(int index) { t_nothrowAllocationsBeforeFailure = index; }
    ~FailAllocation() { t_nothrowAllocationsBeforeFailure = -1; }
    FailAllocation(const FailAllocation&) = delete;
    FailAllocation& operator=(const FailAllocation&) = delete;
    // True when the allocation that was to fail has happened.
    static bool used() { return t_nothrowAllocationsBeforeFailure == -1; }
};

// The number of non-throwing allocations that `action` makes.
template <class Action>
int countAllocations(Action action) {
    const int before = t_nothrowAllocations;
    action();
    return t_nothrowAllocations - before;
}

AbstractLocale::eLocalIds localeId(int value) {
    return static_cast<AbstractLocale::eLocalIds>(value);
}

TEST(AllocationFailure, RegistryAndTraverserFactoriesReturnNull) {
    {
        FailAllocation failing(0);
        EXPECT_EQ(AbstractLocale::getLocaleForName("Korean"), nullptr);
        EXPECT_TRUE(FailAllocation::used());
    }
    {
        FailAllocation failing(0);
        EXPECT_EQ(AbstractLocale::getLocaleForId(AbstractLocale::eJapanese), nullptr);
    }
    const JapaneseLocale japanese;
    const KoreanLocale korean;
    const Utf8Locale utf8;
    const SjisEncoding sjis;
    const EucKrEncoding eucKr;
    const std::vector<const AbstractEncoding*> one{&sjis};
    const std::vector<const AbstractEncoding*> two{&sjis, &eucKr};
    for (const AbstractLocale* locale :
         {static_cast<const AbstractLocale*>(&japanese),
          static_cast<const AbstractLocale*>(&korean), static_cast<const AbstractLocale*>(&utf8)}) {
        SCOPED_TRACE(locale->getName());
        {
            FailAllocation failing(0);
            EXPECT_EQ(locale->getHtmlSafeEncodingTraverser(), nullptr);
        }
        {
            FailAllocation failing(0);
            EXPECT_EQ(locale->getHtmlSafeEncodingTraverser(one), nullptr);
        }
        {
            FailAllocation failing(0);
            EXPECT_EQ(locale->getHtmlSafeEncodingTraverser(two), nullptr);
        }
    }
    // Without a failure the factories work as before.
    const std::unique_ptr<AbstractLocale> after(AbstractLocale::getLocaleForName("Korean"));
    EXPECT_NE(after, nullptr);
}

TEST(AllocationFailure, ContainerLeavesOnlyTheFailedEntryEmpty) {
    // The constructor allocates the index-0 traverser, then for each locale
    // the locale and its traverser. Fail each of those allocations in turn.
    const int allocations = countAllocations([] { TraverserContainer probe; });
    ASSERT_EQ(allocations, 7);
    const std::type_info* const classes[] = {&typeid(AsciiTraverser), &typeid(AsciiTraverser),
                                             &typeid(JisTraverser), &typeid(EucKrTraverser)};
    for (int failing = 0; failing < allocations; ++failing) {
        SCOPED_TRACE("failed allocation " + std::to_string(failing));
        std::unique_ptr<TraverserContainer> container;
        {
            FailAllocation fail(failing);
            container = std::make_unique<TraverserContainer>();
            ASSERT_TRUE(FailAllocation::used());
        }
        // Allocation 0 is the entry of index 0; then 1 and 2 serve index 1,
        // 3 and 4 index 2, 5 and 6 index 3 (locale, then traverser).
        const int emptyIndex = failing == 0 ? 0 : (failing + 1) / 2;
        for (int id = 0; id < 4; ++id) {
            SCOPED_TRACE(id);
            AbstractTraverser* const traverser = container->getSafeTraverserForLocale(localeId(id));
            if (id == emptyIndex) {
                EXPECT_EQ(traverser, nullptr);
            } else {
                ASSERT_NE(traverser, nullptr);
                EXPECT_EQ(typeid(*traverser), *classes[id]);
            }
        }
        // A copy keeps the empty entry empty, and a failure while copying
        // empties one more: the copy allocates one traverser per non-null
        // entry, in index order.
        TraverserContainer copy(*container);
        EXPECT_EQ(copy.getSafeTraverserForLocale(localeId(emptyIndex)), nullptr);
        const int nextIndex = (emptyIndex + 1) % 4;
        int copyFailing = 0;
        for (int id = 0; id < nextIndex; ++id) {
            copyFailing += id != emptyIndex ? 1 : 0;
        }
        {
            FailAllocation fail(copyFailing);
            TraverserContainer partial(*container);
            ASSERT_TRUE(FailAllocation::used());
            EXPECT_EQ(partial.getSafeTraverserForLocale(localeId(emptyIndex)), nullptr);
            EXPECT_EQ(partial.getSafeTraverserForLocale(localeId(nextIndex)), nullptr);
            for (int id = 0; id < 4; ++id) {
                if (id != emptyIndex && id != nextIndex) {
                    EXPECT_NE(partial.getSafeTraverserForLocale(localeId(id)), nullptr) << id;
                }
            }
        }
    }
}

// The code page 949 conversions report an allocation that throws as a
// failure, with the caller's string untouched, whichever allocation it is.
TEST(AllocationFailure, KoreanConversionsFailCleanly) {
    const EucKrEncoding encoding;
    const std::string korean = "\xB0\xA1 \xB3\xAA abc \xC7\xD1\xB1\xB9";
    const std::string utf8 = "\xEA\xB0\x80 \xEB\x82\x98 abc \xED\x95\x9C\xEA\xB5\xAD";
    std::string warmUp;
    bool unmapped = false;
    ASSERT_TRUE(encoding.convertToUtf8(korean.data(), static_cast<unsigned int>(korean.size()),
                                       warmUp, unmapped, false));
    ASSERT_EQ(warmUp, utf8);
    for (int direction = 0; direction < 2; ++direction) {
        int failures = 0;
        for (int index = 0; index < 16; ++index) {
            std::string result = "kept";
            t_throwingAllocationsBeforeFailure = index;
            const bool ok = direction == 0
                                ? encoding.convertToUtf8(korean.data(),
                                                         static_cast<unsigned int>(korean.size()),
                                                         result, unmapped, false)
                                : encoding.convertFromUtf8(
                                      utf8.data(), static_cast<unsigned int>(utf8.size()), result);
            const bool thrown = t_throwingAllocationsBeforeFailure == -1;
            t_throwingAllocationsBeforeFailure = -1;
            if (!thrown) {
                EXPECT_TRUE(ok);
                EXPECT_EQ(result, direction == 0 ? utf8 : korean);
                break;
            }
            ++failures;
            EXPECT_FALSE(ok) << "allocation " << index;
            EXPECT_EQ(result, "kept") << "allocation " << index;
        }
        EXPECT_GT(failures, 0) << "direction " << direction;
    }
}

#else

TEST(AllocationFailure, NeedsTheReplacedOperatorNew) {
    GTEST_SKIP() << "the sanitizer runtime defines the non-throwing operator new";
}

#endif

} // namespace
} // namespace charsetkit
