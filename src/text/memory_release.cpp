#include "text/memory_release.h"

#include <utility>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace lumorra {

namespace {

struct Registry {
    int nextId = 1;
    std::vector<std::pair<int, ReleaseHook>> hooks;
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

int addReleaseHook(ReleaseHook hook)
{
    Registry& r = registry();
    const int id = r.nextId++;
    r.hooks.emplace_back(id, std::move(hook));
    return id;
}

void removeReleaseHook(int id)
{
    auto& hooks = registry().hooks;
    std::erase_if(hooks, [id](const auto& h) { return h.first == id; });
}

void cdata()
{
    // A copy, so a hook that adds or removes hooks cannot invalidate the walk.
    const auto hooks = registry().hooks;
    for (const auto& h : hooks)
        if (h.second)
            h.second();
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace lumorra
