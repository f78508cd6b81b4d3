// The site definition reader on any text (up to the first NUL), as a file of the user's folder
// would be read (with and without the shipped definition as its model),
// and whatever it accepts cut over the rest of the input as a page.
// The first byte picks the site; its bit 6 asks for the shipped model.
#include "fuzz_input.h"

#include "sources/definitions/definition_reader.h"
#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

using namespace lumorra;
using lumorra::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const uint8_t choice = in.byte();
    const QStringList names = SiteDefinitions::shippedNames();
    const QString name = names.at(choice % names.size());
    const SiteDefinitionPtr model = (choice & 0x40) ? SiteDefinitions::current().find(name) : nullptr;
    const auto [fileText, pageText] = in.twoTexts();
    const QByteArray file = fileText.toUtf8();
    const DefinitionRead read = readDefinition(file, name + QStringLiteral(".yaml"), model.get());
    // Taken whole or not at all.
    require(read.ok() == read.problems.isEmpty());
    for (const DefinitionProblem& p : read.problems)
        require(p.line >= 0 && !p.what.isEmpty());
    if (!read.ok())
        return 0;
    const CutPage page(pageText);
    const qsizetype records
        = qMin<qsizetype>(read.definition->record.isEmpty() ? 1 : page.count(read.definition->record), 200);
    for (auto it = read.definition->fields.cbegin(); it != read.definition->fields.cend(); ++it)
        for (qsizetype i = 1; i <= records; ++i)
            (void)it.value().cut(page, i, QStringLiteral("http://site"));
    (void)read.definition->url(
        QStringLiteral("search"), {{QStringLiteral("base"), QStringLiteral("http://site")}});
    return 0;
}
