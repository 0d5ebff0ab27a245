#include <charsetkit/traversal/TraverserContainer.h>

#include <charsetkit/traversal/AsciiTraverser.h>

#include <memory>
#include <new>

namespace charsetkit {

namespace {

// Identifier 0 (plain ASCII text) and the three locales.
constexpr unsigned int kEntries = 4;

} // namespace

TraverserContainer::TraverserContainer() {
    // Reserved up front so that the appends below cannot throw and leak.
    m_traversers.reserve(kEntries);
    m_traversers.push_back(new (std::nothrow) AsciiTraverser());
    for (unsigned int id = 1; id < kEntries; ++id) {
        const std::unique_ptr<AbstractLocale> locale(
            AbstractLocale::getLocaleForId(static_cast<AbstractLocale::eLocalIds>(id)));
        // The traverser does not depend on the locale object, which goes now.
        m_traversers.push_back(locale != nullptr ? locale->getHtmlSafeEncodingTraverser()
                                                 : nullptr);
    }
}

TraverserContainer::TraverserContainer(const TraverserContainer& other) {
    m_traversers.reserve(other.m_traversers.size());
    for (const AbstractTraverser* traverser : other.m_traversers) {
        m_traversers.push_back(traverser != nullptr ? traverser->createNew() : nullptr);
    }
}

TraverserContainer& TraverserContainer::operator=(const TraverserContainer& other) {
    // Self-assignment keeps the traversers, and the pointers lent out, alive.
    if (this != &other) {
        TraverserContainer copy(other);
        m_traversers.swap(copy.m_traversers);
    }
    return *this;
}

TraverserContainer::~TraverserContainer() {
    for (AbstractTraverser* traverser : m_traversers) {
        delete traverser;
    }
}

AbstractTraverser* TraverserContainer::getSafeTraverserForLocale(AbstractLocale::eLocalIds id) {
    const auto index = static_cast<unsigned int>(id);
    return index < m_traversers.size() ? m_traversers[index] : nullptr;
}

} // namespace charsetkit
