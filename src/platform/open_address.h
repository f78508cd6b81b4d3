#pragma once
// Opens an address in the user's default web browser.
#include <QString>
#include <functional>

namespace lumorra {

// Hands `address` unchanged to the desktop: web addresses go to the default
// browser, links of download programs (ed2k, qvod, thunder) to the program
// registered for them. Every row action calls this, an empty address too;
// an empty address then opens nothing, and a launch failure is ignored.
void openAddress(const QString& address);

// Replaces how addresses are opened (tests record them); a null handler
// restores the desktop's opener.
void setOpenAddressHandler(std::function<void(const QString&)> handler);

} // namespace lumorra
