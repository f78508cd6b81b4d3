#include "sources/install_sources.h"

#include "lists/ed2k_extraction.h"
#include "sources/emule/emule_handlers.h"

namespace lumorra {

void installSources(QWidget* form1)
{
    installEmuleSources(form1);
    installEd2kExtraction(form1);
}

} // namespace lumorra
