#include "programmable_sites.h"

#include <deque>
#include <map>
#include <mutex>

namespace lumorra {

class ProgrammableSites::Hooks : public SiteHooks {
public:
    mutable std::mutex mutex;
    std::map<std::string, Answer> programs;
    std::map<std::string, AnswerFilter> filters;
    std::deque<LoggedRequest> log;
    size_t logLimit = kDefaultRequestLogLimit;

    void trimLog()
    {
        while (log.size() > logLimit)
            log.pop_front();
    }

    void received(const LoggedRequest& request) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (logLimit == 0)
            return;
        log.push_back(request);
        trimLog();
    }

    std::optional<Answer> instead(const LoggedRequest& request) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = programs.find(request.target);
        if (it == programs.end())
            it = programs.find(request.path);
        if (it == programs.end())
            return std::nullopt;
        return it->second;
    }

    std::optional<Answer> filtered(const Answer& normal, const LoggedRequest& request) override
    {
        AnswerFilter filter;
        {
            // The filter of the longest prefix the path starts with, if any.
            std::lock_guard<std::mutex> lock(mutex);
            const std::pair<const std::string, AnswerFilter>* best = nullptr;
            for (const auto& entry : filters)
                if (request.path.compare(0, entry.first.size(), entry.first) == 0
                    && (!best || entry.first.size() > best->first.size()))
                    best = &entry;
            if (best)
                filter = best->second;
        }
        if (!filter)
            return std::nullopt;
        return filter(normal, request.target);
    }
};

ProgrammableSites::ProgrammableSites() : m_hooks(std::make_shared<Hooks>())
{
    setHooks(m_hooks);
}

ProgrammableSites::~ProgrammableSites()
{
    // The server threads may still hold the hooks; they end with stop().
    stop();
}

void ProgrammableSites::program(const std::string& pathOrTarget, Answer answer)
{
    std::lock_guard<std::mutex> lock(m_hooks->mutex);
    m_hooks->programs[pathOrTarget] = std::move(answer);
}

void ProgrammableSites::unprogram(const std::string& pathOrTarget)
{
    std::lock_guard<std::mutex> lock(m_hooks->mutex);
    m_hooks->programs.erase(pathOrTarget);
}

void ProgrammableSites::programUnder(const std::string& pathPrefix, AnswerFilter filter)
{
    std::lock_guard<std::mutex> lock(m_hooks->mutex);
    m_hooks->filters[pathPrefix] = std::move(filter);
}

void ProgrammableSites::clearProgram()
{
    bool hadFilters = false;
    {
        std::lock_guard<std::mutex> lock(m_hooks->mutex);
        m_hooks->programs.clear();
        hadFilters = !m_hooks->filters.empty();
        m_hooks->filters.clear();
    }
    if (hadFilters)
        endFilteredDelays();
}

void ProgrammableSites::setRequestLogLimit(size_t limit)
{
    std::lock_guard<std::mutex> lock(m_hooks->mutex);
    m_hooks->logLimit = limit;
    m_hooks->trimLog();
}

size_t ProgrammableSites::requestLogLimit() const
{
    std::lock_guard<std::mutex> lock(m_hooks->mutex);
    return m_hooks->logLimit;
}

std::vector<LoggedRequest> ProgrammableSites::requests() const
{
    std::lock_guard<std::mutex> lock(m_hooks->mutex);
    return std::vector<LoggedRequest>(m_hooks->log.begin(), m_hooks->log.end());
}

std::vector<LoggedRequest> ProgrammableSites::requestsFor(const std::string& path) const
{
    std::lock_guard<std::mutex> lock(m_hooks->mutex);
    std::vector<LoggedRequest> out;
    for (const LoggedRequest& r : m_hooks->log)
        if (r.path == path)
            out.push_back(r);
    return out;
}

void ProgrammableSites::clearRequests()
{
    std::lock_guard<std::mutex> lock(m_hooks->mutex);
    m_hooks->log.clear();
}

} // namespace lumorra
