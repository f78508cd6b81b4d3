#include "core/list_row.h"

namespace lumorra {

ListRow& ListRow::set(const QString& key, const QString& value)
{
    for (auto& c : cells) {
        if (c.first == key) {
            c.second = value;
            return *this;
        }
    }
    cells.append({key, value});
    return *this;
}

QString ListRow::cell(const QString& key) const
{
    if (key == QLatin1String("xh"))
        return text;
    for (const auto& c : cells)
        if (c.first == key)
            return c.second;
    return {};
}

} // namespace lumorra
