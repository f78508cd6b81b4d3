#pragma once
// The announcement file of the vendor endpoint: up to five news items, each
// made of three fields written as "title:…|", "url:…|" and "color:…|". The
// fields may stand in any order with anything between them; the n-th title
// is the text after the n-th "title:" up to the first "|" after it.
//
// Pure text handling, no widgets: the main window's rotation timer asks
// these functions what to show next.
#include <QString>

namespace lumorra {

struct Announcement {
    QString title;   // caption and tooltip of the announcement line
    QString url;     // page opened by a click; blanks at both ends removed
    QString color;   // "#ff0000", "#0000ff" or "#00ff00"; "#000000" for anything else
};

// The rotation shows at most this many items.
inline constexpr int kMaxAnnouncements = 5;

// Field `key` ("title:", "url:", "color:") of announcement `number` (1-based):
// piece `number` of the text at the key, its characters up to and including
// the first "|", with every "|" removed. A piece without "|" (or a number
// beyond the last key) gives an empty text.
QString announcementField(const QString& text, const QString& key, int number);

// "red", "blue" and "green" exactly (after blanks at both ends are removed);
// any other spelling, capitalised ones included, is black.
QString announcementColor(const QString& value);

// Announcement `number` (1-based) of the file.
Announcement announcementAt(const QString& text, int number);

// How many announcements the rotation goes through: the number of "title:"
// keys in the file, at most kMaxAnnouncements.
int announcementCount(const QString& text);

// The number to show after `current` (0 before the first one): counts 1 up
// to `count` and wraps to 1. A short file therefore cycles through the items
// it has instead of showing blank lines for missing ones. Returns 0 when the
// file has no announcement at all.
int nextAnnouncementNumber(int current, int count);

} // namespace lumorra
