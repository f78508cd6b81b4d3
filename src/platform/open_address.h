#pragma once
// Opens an address in the user's default web browser.
#include <QString>
#include <functional>

namespace lumorra {

// Hands `address` unchanged to the default browser (an empty address too);
// a launch failure is ignored.
void openAddress(const QString& address);

// Replaces how addresses are opened (tests record them); a null handler
// restores the default browser.
void setOpenAddressHandler(std::function<void(const QString&)> handler);

} // namespace lumorra
