#pragma once
// A cut (the show with a script of one's own) as a link: the page's address
// followed by #cut=1.DATA, which the desktop program reads as well. DATA is
// base64url (no padding) of the raw deflate of the cut's script text as its
// line difference from the show's own script text (show/line_difference.h),
// after four bytes that fingerprint that text; the 1 is the format's
// version. A cut that is the show gives a link of a few characters, and an
// edit of a few rows one of a few hundred.
//
// The show's own script text is part of format 1: if it ever changes, a
// new version must keep the old text to read the links made before (the
// fingerprint refuses them by name rather than misreading them).
//
// A link is data: reading one only ever gives a script text, which is then
// checked as a script file is.

#include <cstddef>
#include <string>
#include <string_view>

#include "app/timeline.h"
#include "show/script_text.h"

constexpr int kCutLinkVersion = 1;
// What a link's DATA may unpack to: more than any script, far less than a
// few bytes of deflate could grow into.
constexpr std::size_t kMaxCutBytes = 1u << 20;
// Chat programs cut longer messages; past the second a file is the way.
constexpr std::size_t kChatLinkLength = 2000, kMaxLinkLength = 8000;
// The room a typical page address takes before the fragment, where the
// address itself is not known (the desktop prints the fragment alone).
constexpr std::size_t kPageAddressRoom = 60;

// "1.DATA" for a script text (kept byte for byte: comments and layout too).
std::string cutLinkData(std::string_view scriptText);
// "#cut=1.DATA", what goes after the page's address.
std::string cutFragment(std::string_view scriptText);

// How a whole address of `length` characters fares: empty when it can be
// shared anywhere; else what to tell the person sharing it.
std::string cutLinkAdvice(std::size_t length);

// The script text a link carries. The link may be a whole address, its
// "#cut=1.DATA" part or "1.DATA" alone. False with a one-line message when
// the link is empty, malformed, cut short, of another version, unpacks to
// too much or was made against another show script.
bool readCutLink(std::string_view link, std::string& scriptText, std::string& problem);

// readCutLink, then the script's checks (as for a script file): true with
// the rows in table; else the one-line message, for a failed check the
// first problem with its line.
bool loadCutLink(std::string_view link, SongTimeline& timeline, ScriptTable& table, std::string& scriptText,
                 std::string& problem);
