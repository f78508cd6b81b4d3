#pragma once
// Which addresses taken from a page the program hands on. A page is written
// by someone else: a cell holding "file:///etc/passwd", "smb://host/share" or
// "javascript:…" must not make the program open a local file, a network
// share or a script. Web addresses and the links of the download programs
// the program exists for pass; everything else is refused. An address the
// user typed is the user's own and is not checked here.
#include <QString>

namespace lumorra {

// Where an address goes; each use lets through its own schemes.
enum class AddressUse {
    // A web page only, well-formed: http and https with a host (the links
    // of the announcements).
    WebPage,
    // A file fetched over the network: http, https and ftp with a host
    // (the torrent download).
    Transfer,
    // The desktop's opener: http, https and ftp with a host, and the links
    // of the download programs (ed2k, magnet, thunder, qvod).
    Open,
    // The player: streams over http, https, ftp, rtsp and mms with a host,
    // and qvod links.
    Play,
};

// True when `address` may be handed on for `use`. Blanks around it do not
// count (hand on the trimmed address); an empty address is refused, and the
// scheme is compared whatever its case.
bool isAllowedAddress(const QString& address, AddressUse use);

// The status text of a refused address, naming it (on one line, cut short
// when a page put more into it than a status line holds).
QString refusedAddressText(const QString& address);

} // namespace lumorra
