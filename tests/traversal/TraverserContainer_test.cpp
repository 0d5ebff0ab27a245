#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/TraverserContainer.h>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <typeinfo>

namespace charsetkit {
namespace {

AbstractLocale::eLocalIds localeId(int value) {
    return static_cast<AbstractLocale::eLocalIds>(value);
}

// Checks the classes of the four entries.
void expectStandardClasses(TraverserContainer& container) {
    const std::type_info* const expected[] = {&typeid(AsciiTraverser), &typeid(AsciiTraverser),
                                              &typeid(JisTraverser), &typeid(EucKrTraverser)};
    for (int id = 0; id < 4; ++id) {
        SCOPED_TRACE(id);
        AbstractTraverser* const traverser = container.getSafeTraverserForLocale(localeId(id));
        ASSERT_NE(traverser, nullptr);
        EXPECT_EQ(typeid(*traverser), *expected[id]);
    }
}

TEST(TraverserContainer, OneTraverserPerIdentifier) {
    TraverserContainer container;
    expectStandardClasses(container);
    // Index 0 and the UTF-8 locale are both ASCII traversers, but two objects.
    EXPECT_NE(container.getSafeTraverserForLocale(localeId(0)),
              container.getSafeTraverserForLocale(AbstractLocale::eUtf8));
    // The same object on every call.
    EXPECT_EQ(container.getSafeTraverserForLocale(AbstractLocale::eJapanese),
              container.getSafeTraverserForLocale(AbstractLocale::eJapanese));
}

TEST(TraverserContainer, IdentifiersOutsideTheTableGiveNull) {
    TraverserContainer container;
    for (int id : {4, 5, 1000, INT_MAX, -1, INT_MIN}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(container.getSafeTraverserForLocale(localeId(id)), nullptr);
    }
}

TEST(TraverserContainer, FreshTraversersAreUnbound) {
    TraverserContainer container;
    for (int id = 0; id < 4; ++id) {
        AbstractTraverser* const traverser = container.getSafeTraverserForLocale(localeId(id));
        EXPECT_TRUE(traverser->isStart());
        EXPECT_TRUE(traverser->isEnd());
    }
}

TEST(TraverserContainer, CopiesAreDeepAndUnbound) {
    const std::string text = "<p>text</p>";
    auto original = std::make_unique<TraverserContainer>();
    AbstractTraverser* const bound = original->getSafeTraverserForLocale(AbstractLocale::eKorean);
    bound->setNewBuffer(text);
    bound->advance();

    TraverserContainer copy(*original);
    expectStandardClasses(copy);
    for (int id = 0; id < 4; ++id) {
        SCOPED_TRACE(id);
        AbstractTraverser* const mine = copy.getSafeTraverserForLocale(localeId(id));
        EXPECT_NE(mine, original->getSafeTraverserForLocale(localeId(id)));
        EXPECT_TRUE(mine->isStart());
        EXPECT_TRUE(mine->isEnd());
    }

    // The copy owns its traversers: they outlive the original.
    original.reset();
    AbstractTraverser* const korean = copy.getSafeTraverserForLocale(AbstractLocale::eKorean);
    korean->setNewBuffer(text);
    EXPECT_EQ(korean->advance(), text.data() + 1);
}

TEST(TraverserContainer, AssignmentReplacesTheTraversers) {
    TraverserContainer source;
    TraverserContainer target;
    AbstractTraverser* const before = target.getSafeTraverserForLocale(AbstractLocale::eJapanese);
    EXPECT_NE(before, nullptr);
    target = source;
    expectStandardClasses(target);
    EXPECT_NE(target.getSafeTraverserForLocale(AbstractLocale::eJapanese),
              source.getSafeTraverserForLocale(AbstractLocale::eJapanese));

    // Assigning a container to itself keeps the traversers lent out.
    AbstractTraverser* const lent = target.getSafeTraverserForLocale(AbstractLocale::eUtf8);
    TraverserContainer& alias = target;
    target = alias;
    EXPECT_EQ(target.getSafeTraverserForLocale(AbstractLocale::eUtf8), lent);
}

} // namespace
} // namespace charsetkit
