#ifndef CHARSETKIT_TRAVERSAL_TRAVERSERCONTAINER_H
#define CHARSETKIT_TRAVERSAL_TRAVERSERCONTAINER_H

#include <charsetkit/locales/AbstractLocale.h>
#include <charsetkit/traversal/AbstractTraverser.h>

#include <vector>

namespace charsetkit {

/// Holds one HTML-safe traverser per locale identifier (index 0: plain
/// ASCII), built at construction, and lends them out. The container owns the
/// traversers; pointers it hands out die with it. Each entry is one object
/// with one position: users that share an entry share its position.
class CHARSETKIT_EXPORT TraverserContainer {
public:
    TraverserContainer();
    /// A deep copy: each entry is replaced by its createNew() (an unbound
    /// traverser of the same class); null entries stay null.
    TraverserContainer(const TraverserContainer& other);
    TraverserContainer& operator=(const TraverserContainer& other);
    ~TraverserContainer();

    /// The container's traverser for `id`, or null when `id` (taken as an
    /// unsigned number) is outside the table or its entry is empty.
    AbstractTraverser* getSafeTraverserForLocale(AbstractLocale::eLocalIds id);

private:
    std::vector<AbstractTraverser*> m_traversers;
};

} // namespace charsetkit

#endif
