#pragma once
// The feed's API key: the one given, else one generated on first use (128
// random bits) and kept in the program directory in a file only its owner
// can read. Never logged.
#include <QString>

namespace lumorra::feed {

// The kept key, generated and written on first use; empty with *problem
// set when it can be neither read nor written.
QString keptApiKey(QString* problem);
// Where it is kept.
QString apiKeyFile();

// `a` and `b` are the same key, compared in time independent of where they
// first differ.
bool sameKey(const QString& a, const QString& b);

} // namespace lumorra::feed
