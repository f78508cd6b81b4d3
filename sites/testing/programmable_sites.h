#pragma once
// The sample sites as tests need them: answers programmed per path,
// misbehaviour staged under a prefix, and a log of the requests received.
// None of this ships with the program; its demo sites are plain
// SampleSites.
#include "sample_sites.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumorra {

// Turns the answer a site would give to a request (its raw target, path and
// query) into the answer actually sent: how a misbehaving server is staged.
using AnswerFilter = std::function<Answer(const Answer& normal, const std::string& target)>;

class ProgrammableSites : public SampleSites {
public:
    ProgrammableSites();
    ~ProgrammableSites();

    // Programmed answers take precedence over the built-in pages. The key is
    // a %-decoded path ("/t/slow"), or a raw path with its query
    // ("/t/page?x=1") to match one exact request.
    void program(const std::string& pathOrTarget, Answer answer);
    void unprogram(const std::string& pathOrTarget);
    // Every request whose %-decoded path starts with `pathPrefix` ("/magnet-b"
    // or "/magnet-b/detail/") is answered through `filter`, which receives the
    // answer the site would have given. The longest matching prefix wins; a
    // delay the filter adds ends as soon as the filter is taken away again.
    void programUnder(const std::string& pathPrefix, AnswerFilter filter);
    // Takes away every filter and every programmed answer.
    void clearProgram();

    // The log keeps only the latest requests, so a server that runs for a
    // long session cannot grow it without end.
    static constexpr size_t kDefaultRequestLogLimit = 1000;
    // Drops the oldest entries beyond `limit` at once; 0 keeps none.
    void setRequestLogLimit(size_t limit);
    size_t requestLogLimit() const;

    // The requests received since start (or the last clearRequests()), the
    // latest requestLogLimit() of them, oldest first.
    std::vector<LoggedRequest> requests() const;
    std::vector<LoggedRequest> requestsFor(const std::string& path) const;
    void clearRequests();

private:
    class Hooks;
    std::shared_ptr<Hooks> m_hooks;
};

} // namespace lumorra
