#pragma once
// A BT board post read as a film: poster, description, synopsis and the two
// download addresses. Posts come in two layouts: A writes "片名:" fields and
// a "剧情简介" heading, B writes "◎译　　名" style fields and "◎简　　介".
#include <QString>

namespace lumorra {

struct FilmDetail {
    bool layoutB = false;
    QString poster;          // the address between [IMG] and [/IMG]
    QString description;     // the field lines, each followed by an empty line
    QString synopsis;
    QString firstAddress;    // the first "jump.php?url=" link as written
    QString secondAddress;   // the second, with exactly one "http://"; empty when the post has one link
};

struct SiteDefinition;

// By the BT board's definition (without one: the shipped definition's).
FilmDetail cutFilmDetail(const QString& post);
FilmDetail cutFilmDetail(const SiteDefinition& def, const QString& post);

// False when the post gave no description to show (a layout-A post without
// its "片名:" fields).
bool isReadable(const FilmDetail& detail);
bool isReadable(const SiteDefinition& def, const FilmDetail& detail);

} // namespace lumorra
