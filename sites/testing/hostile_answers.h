#pragma once
// The ways a site can misbehave, each as a filter over the answer it would
// normally give, for SampleSites::programUnder(). The window tests run every
// source against every one of them; lumorra-sites can stage one for a whole
// server (--misbehave NAME).
#include "programmable_sites.h"

#include <string>
#include <vector>

namespace lumorra {

enum class Misbehaviour {
    EmptyBody,           // 200 with no body at all
    NotFoundPage,        // the server's own 404 page
    ServerErrorPage,     // a 500 page
    DroppedConnection,   // the connection closes before any answer
    Stall,               // no answer for longer than any client waits
    HugeBody,            // 40 MiB, streamed without announcing its length
    UndeclaredCharset,   // the page in a charset other than the one declared
    InvalidBytes,        // the page with byte sequences no charset allows
    RedirectLoop,        // a redirect back to the same address, for ever
};

// Every misbehaviour, in the order above.
const std::vector<Misbehaviour>& allMisbehaviours();
// A short name: "empty-body", "404", "500", "drop", "stall", "huge-body",
// "undeclared-charset", "invalid-bytes", "redirect-loop".
std::string misbehaviourName(Misbehaviour m);
// The misbehaviour of that name, or false.
bool misbehaviourFromName(const std::string& name, Misbehaviour& out);

// Size of the HugeBody answer.
constexpr size_t kHugeBodyBytes = size_t(40) * 1024 * 1024;

// The filter staging `m`. A Stall waits `stallMs` before it answers (or
// until the filter is taken away).
AnswerFilter misbehave(Misbehaviour m, int stallMs = 60000);

} // namespace lumorra
