#include "sources/engine/source_events.h"

namespace lumorra {

SourceEvents& SourceEvents::instance()
{
    static SourceEvents events;
    return events;
}

} // namespace lumorra
